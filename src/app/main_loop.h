#pragma once
#include "app/app.h"
#include "platform/platform.h"

// One pass of the main loop: a frame while the application is active, then
// one message pump. A platform that owns its loop calls this once per frame.
void main_loop_pass(App& app, Platform& platform);

// A start that fails ends the program with this code once its message is shown.
constexpr int start_failed = 1;

// Start-up, window, input and display in order; 1 when the loop may run, 0
// after a failure was reported.
int start_program(App& app, Platform& platform, int argc, char** argv);
// Shutdown in order once the loop has ended; returns the exit code.
int end_program(App& app, Platform& platform);

// The whole program after the command line was split: start-up, window,
// input, display, the loop, and shutdown in order. Returns the exit code.
int run_program(App& app, Platform& platform, int argc, char** argv);
