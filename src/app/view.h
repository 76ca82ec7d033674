#pragma once
#include <cstdint>

#include "app/vec3.h"

// The one camera and its projection, in the Earth-fixed frame (unit: one
// Earth radius; -y points to the North Pole).
struct View {
    Vec3 viewpos, viewright, viewdown, viewfwd, viewvel;
    double zoom = 0;
    double zoom_half = 0;
    double xres_half = 0;
    double yres_half = 0;
    double corner_dist2 = 0;
    uint8_t zoom_latch = 0;

    uint8_t show_earth = 1;
    uint8_t show_borders = 1;
    uint8_t orbit_mode = 1;
    uint8_t auto_level = 1;
    uint8_t show_labels = 1;
    uint8_t far_side_lines = 0;
    uint8_t texture_loaded = 0;

    double min_dist = 1.0012613521695257;
};
