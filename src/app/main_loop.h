#pragma once
#include "app/app.h"
#include "platform/platform.h"

// One pass of the main loop: a frame while the application is active, then
// one message pump. A platform that owns its loop calls this once per frame.
void main_loop_pass(App& app, Platform& platform);

// The whole program after the command line was split: start-up, window,
// input, display, the loop, and shutdown in order. Returns the exit code.
int run_program(App& app, Platform& platform, int argc, char** argv);
