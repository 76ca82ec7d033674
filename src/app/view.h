#pragma once
#include <cstdint>
#include <optional>

#include "core/camera.h"
#include "core/constants.h"

// The camera with the viewer's display toggles and per-frame latches.
struct View {
    Camera camera;
    bool zoom_latch = false;
    bool pinch_latch = false;  // as zoom_latch, until the two fingers are lifted

    uint8_t show_earth = 1;
    uint8_t show_borders = 1;
    uint8_t orbit_mode = 1;
    uint8_t auto_level = 1;
    uint8_t show_labels = 1;
    uint8_t far_side_lines = 0;
    bool texture_loaded = false;
    uint8_t show_help = 0;
    // The sky behind the textured globe too (the filled globe always has it).
    bool sky = false;
    bool night = false;  // day and night on the textured globe

    double min_dist = lowest_eye_dist;
    // The home place as a unit vector; none means the built-in one.
    std::optional<Vec3> home;
};
