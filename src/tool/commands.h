#pragma once
// globetool, on top beside app/: the viewer's work for scripts. Each command
// calls the layers below directly; render draws the viewer's own frame on
// the headless platform, so that its pictures are the viewer's.

// One function per globetool subcommand; argv[0] is the subcommand's name.
// Exit codes: 0 success, 1 failure, 2 bad usage.
int render_command(int argc, char** argv);
int gif_command(int argc, char** argv);
int sky_command(int argc, char** argv);
int events_command(int argc, char** argv);
int map_command(int argc, char** argv);
int inland_command(int argc, char** argv);
