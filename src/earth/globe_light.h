#pragma once
#include <cstdint>
#include <vector>

#include "core/vec3.h"
#include "earth/globe_lanes.h"
#include "platform/palette.h"
#include "raster/gif.h"

// Day and night on the textured globe. The Sun's altitude at a surface point
// chooses a light level: the day, six steps of twilight every 3 degrees down
// to 18 below the horizon, then the night. Each level has a table from the
// picture's palette index, and the city lights' grade there, to the palette
// entry that looks nearest to that colour dimmed with the lights added.
struct GlobeLight {
    double bounds[light_levels - 1];     // sine of the altitude where each level after the day begins
    std::vector<uint8_t> shades;         // [(level * light_grades + grade) * 256 + index]
    std::vector<uint8_t> grades;         // city lights per texel of the picture; empty for none
};

// The tables for the palette, built once when it is final; the day's is
// the identity. Without a lights picture the grades stay empty.
GlobeLight globe_light(const Palette& palette);

// The lights picture, drawn in its own palette, as grades on the globe
// picture's texels (nearest texel); empty when either has no picture.
std::vector<uint8_t> grade_lights(const Texture& lights, const Palette& lights_palette, const Texture& globe);

// What a frame needs for day and night: the Sun's direction from the Earth's
// centre (Earth-fixed) and the tables. A null light draws the day everywhere.
struct Daylight {
    Vec3 sun;
    const GlobeLight* light = nullptr;
};
