#pragma once
#include "app/app.h"
#include "platform/platform.h"

// Reads the command line, builds the palette, loads the data files and starts
// the clocks. Never fails: a missing file only removes what it would show.
void startup(App& app, Platform& platform, int argc, char** argv);
