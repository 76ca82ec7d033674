#pragma once
#include <vector>

#include "core/vec3.h"
#include "sky/instant.h"

// Where one body stands as seen by the viewer.
struct SkyRow {
    const char* body = "";
    double ra_hours = 0;         // right ascension of date, [0, 24)
    double dec_degrees = 0;      // declination of date, north positive
    double distance_mmiles = 0;  // million miles from the viewer
    double altitude_degrees = 0; // above the horizon of the viewer's place
    double azimuth_degrees = 0;  // from north through east, [0, 360)
};

// One row per body in index order, for the moment in time and the viewer at
// viewpos (Earth-fixed, Earth radii).
std::vector<SkyRow> sky_table(const Instant& time, const Vec3& viewpos);
