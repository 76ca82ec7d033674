#pragma once
#include <cstdint>
#include <string>

// The display request and the map file names, fixed by the command line.
struct Settings {
    int32_t xres = 640;
    int32_t yres = 480;
    int32_t fullscreen = 1;
    std::string shore_filename = "SHOREX.DAT";
    std::string bord_filename = "BORDX.DAT";
    // Where data files named without a folder are found when the working
    // directory lacks them; empty means only the working directory.
    std::string data_dir;
    // A data folder the user named explicitly is searched before the working directory.
    bool data_dir_first = false;
    // Batch rendering may leave the status lines out of the picture.
    bool status_lines = true;
    // The interactive viewer shows "F1: help" for its first seconds; on a web
    // page the help also names the touch gestures.
    bool help_hint = false;
    bool touch_help = false;
};
