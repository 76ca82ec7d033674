#pragma once

#include "core/vec3.h"

// The one camera and its projection, in the Earth-fixed frame (unit: one
// Earth radius; -y points to the North Pole). Every renderer reads it.
struct Camera {
    Vec3 viewpos, viewright, viewdown, viewfwd, viewvel;
    double zoom = 0;
    double zoom_half = 0;
    double xres_half = 0;
    double yres_half = 0;
    double corner_dist2 = 0;
};
