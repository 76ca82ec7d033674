#pragma once

// SIGINT and SIGTERM end the viewer at any moment: in the main loop they
// read as a close request, and while a message box waits for its button
// they end the process at once, since the box's own loop would never look.
// SDL's handlers are turned off for this (they only queue an event).
void install_quit_signals();

// The signal that asked to quit, or 0.
int quit_signal();

// Brackets a message box shown by SDL.
void message_box_shown(bool shown);
