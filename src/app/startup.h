#pragma once
#include "app/app.h"
#include "platform/platform.h"

// Reads the command line, then loads the data and starts the clocks. Never
// fails: a missing file only removes what it would show.
void startup(App& app, Platform& platform, int argc, char** argv);

// Builds the palette and loads the Earth image, the map files the settings
// name and the star catalogue.
void load_data(App& app, Platform& platform);
// Starts the frame and display clocks at the platform's time and reads its zone.
void start_clocks(App& app, Platform& platform);
