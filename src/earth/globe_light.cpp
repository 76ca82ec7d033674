#include "earth/globe_light.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "raster/colour_match.h"

namespace {

// Chosen by looking at the pictures: the first step of twilight is the
// largest, as the sky's own light fades fast after sunset, and the night
// keeps under a third of the day so that the continents still show.
constexpr double dimming[light_levels] = {1, 0.8, 0.66, 0.55, 0.46, 0.39, 0.34, 0.3};
// The city lights come up as the sky darkens.
constexpr double lights_weight[light_levels] = {0, 0.1, 0.25, 0.45, 0.65, 0.85, 1, 1};
// The colour of the brightest lights: sodium lamps seen from above.
constexpr Rgb lamp{255, 214, 140};

Rgb lit_colour(const PaletteEntry& e, int32_t level, int32_t grade)
{
    const double f = dimming[level];
    const double w = lights_weight[level] * grade / (light_grades - 1);
    return {std::min(255.0, e.red * f + lamp.red * w), std::min(255.0, e.green * f + lamp.green * w),
            std::min(255.0, e.blue * f + lamp.blue * w)};
}

}  // namespace

GlobeLight globe_light(const Palette& palette)
{
    GlobeLight light;
    for (int32_t k = 0; k < light_levels - 1; ++k) light.bounds[k] = std::sin(-3.0 * k * std::numbers::pi / 180);
    light.shades.resize(static_cast<size_t>(light_levels * light_grades * 256));
    const std::array<Lab, 256> lab = lab_palette(palette);
    const EntryMask every = EntryMask{}.set();
    for (int32_t level = 0; level < light_levels; ++level)
        for (int32_t grade = 0; grade < light_grades; ++grade)
            for (int32_t i = 0; i < 256; ++i) {
                const auto at = static_cast<size_t>((level * light_grades + grade) * 256 + i);
                light.shades[at] = level == 0 ? static_cast<uint8_t>(i)
                                              : nearest_entry(lab, to_lab(lit_colour(palette[static_cast<size_t>(i)], level, grade)), every);
            }
    return light;
}

std::vector<uint8_t> grade_lights(const Texture& lights, const Palette& lights_palette, const Texture& globe)
{
    if (lights.pic_width <= 0 || lights.pic_height <= 0 || globe.pic_width <= 0 || globe.pic_height <= 0) return {};
    uint8_t grade_of[256];
    for (size_t i = 0; i < 256; ++i) {
        const PaletteEntry& e = lights_palette[i];
        const int32_t brightest = std::max({e.red, e.green, e.blue});
        grade_of[i] = static_cast<uint8_t>(std::lround(brightest * (light_grades - 1) / 255.0));
    }
    const int64_t gw = globe.pic_width, gh = globe.pic_height, lw = lights.pic_width, lh = lights.pic_height;
    std::vector<uint8_t> grades(static_cast<size_t>(gw * gh));
    for (int64_t row = 0; row < gh; ++row) {
        const uint8_t* from = lights.pic.data() + row * lh / gh * lw;
        uint8_t* to = grades.data() + row * gw;
        for (int64_t col = 0; col < gw; ++col) to[col] = grade_of[from[col * lw / gw]];
    }
    return grades;
}
