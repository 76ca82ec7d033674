#include "earth/globe_light.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "raster/colour_match.h"

namespace {

double sine_of_degrees(double a)
{
    return std::sin(a * std::numbers::pi / 180);
}

}  // namespace

// The levels' bounds: the horizon itself is twilight, each step of 3 degrees
// begins at its bound, and 18 degrees below is night.
TEST(GlobeLight, LevelsFromTheSunsAltitude)
{
    const GlobeLight light = globe_light(Palette{});
    GlobeScene scene{};
    scene.bounds = light.bounds;
    const struct {
        double sine;
        int32_t level;
    } cases[] = {{1, 0},          {1e-300, 0},   {0, 1},      {-0.0, 1},    {-1e-300, 1},
                 {sine_of_degrees(-2.999), 1}, {sine_of_degrees(-3), 2}, {sine_of_degrees(-9.5), 4},
                 {sine_of_degrees(-17.999), 6}, {sine_of_degrees(-18), 7}, {-1, 7}};
    for (const auto& c : cases) EXPECT_EQ(light_level(scene, c.sine), c.level) << c.sine;
}

// Every entry of every table: the day keeps the picture's own entry; each
// later level takes the entry nearest, by a plain search of the whole
// palette, to the colour dimmed by the level with the lamps' colour added by
// the level's weight and the grade, clipped at 255.
TEST(GlobeLight, TablesHoldTheNearestEntryToEachDimmedColour)
{
    const double dimming[] = {1, 0.8, 0.66, 0.55, 0.46, 0.39, 0.34, 0.3};
    const double weight[] = {0, 0.1, 0.25, 0.45, 0.65, 0.85, 1, 1};
    const Rgb lamp{255, 214, 140};
    std::mt19937 rng(11);
    Palette palette{};
    for (PaletteEntry& e : palette)
        e = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 0};
    palette[255] = {255, 255, 255, 0};
    const GlobeLight light = globe_light(palette);
    ASSERT_EQ(light.shades.size(), size_t{light_levels * light_grades * 256});
    const std::array<Lab, 256> entries = lab_palette(palette);
    const auto distance = [](Lab p, Lab q) { return (p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b); };
    for (int32_t level = 0; level < light_levels; ++level)
        for (int32_t grade = 0; grade < light_grades; ++grade)
            for (size_t i = 0; i < 256; ++i) {
                const PaletteEntry& e = palette[i];
                const double w = weight[level] * grade / 3;
                const Lab lit = to_lab({std::min(255.0, e.red * dimming[level] + lamp.red * w),
                                        std::min(255.0, e.green * dimming[level] + lamp.green * w),
                                        std::min(255.0, e.blue * dimming[level] + lamp.blue * w)});
                size_t best = level == 0 ? i : 0;
                for (size_t j = 0; j < 256 && level > 0; ++j)
                    if (distance(lit, entries[j]) < distance(lit, entries[best])) best = j;
                ASSERT_EQ(light.shades[(static_cast<size_t>(level * light_grades + grade)) * 256 + i], best)
                    << level << " " << grade << " " << i;
            }
}

// The lights picture's nearest texel under each texel of the globe picture,
// larger or smaller, graded by its palette entry's brightest channel; no
// picture, no grades.
TEST(GlobeLight, GradesOnTheGlobesTexels)
{
    Palette greys{};
    greys[1] = {85, 85, 85, 0};
    greys[2] = {0, 170, 0, 0};
    greys[3] = {255, 0, 0, 0};
    greys[4] = {42, 42, 42, 0};
    greys[5] = {43, 43, 43, 0};
    Texture lights{{0, 1, 2, 3, 4, 5, 0, 1}, 4, 2};
    Texture globe{std::vector<uint8_t>(8 * 4), 8, 4};
    const std::vector<uint8_t> big = grade_lights(lights, greys, globe);
    const uint8_t grade[] = {0, 1, 2, 3, 0, 1, 0, 1};
    ASSERT_EQ(big.size(), 32u);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 8; ++col)
            EXPECT_EQ(big[size_t(row * 8 + col)], grade[(row / 2) * 4 + col / 2]) << row << "," << col;
    Texture small{std::vector<uint8_t>(3), 3, 1};
    EXPECT_EQ(grade_lights(lights, greys, small), (std::vector<uint8_t>{0, 1, 2}));
    const Texture one_row{{1, 2}, 2, 1};
    EXPECT_EQ(grade_lights(one_row, greys, Texture{std::vector<uint8_t>(8), 4, 2}),
              (std::vector<uint8_t>{1, 1, 2, 2, 1, 1, 2, 2}));
    // A picture without rows or without columns (none loaded) gives no grades.
    for (const Texture& none : {Texture{}, Texture{{}, 4, 0}, Texture{{}, 0, 2}}) {
        EXPECT_TRUE(grade_lights(none, greys, globe).empty());
        EXPECT_TRUE(grade_lights(lights, greys, none).empty());
    }
}
