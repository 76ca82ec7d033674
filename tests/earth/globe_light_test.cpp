#include "earth/globe_light.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

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

// By day every index is itself; each later level is no brighter than the one
// before it for an unlit grey, and the night is under a third of the day's
// lightness for a bright one; the lights brighten a black texel at night.
TEST(GlobeLight, TablesDimAndLightsBrighten)
{
    Palette palette{};
    for (int i = 0; i < 64; ++i) palette[size_t(i)] = {uint8_t(4 * i), uint8_t(4 * i), uint8_t(4 * i), 0};
    for (int i = 64; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i), 0};
    const GlobeLight light = globe_light(palette);
    const std::array<Lab, 256> lab = lab_palette(palette);
    const auto entry = [&](int level, int grade, int index) {
        return light.shades[size_t((level * light_grades + grade) * 256 + index)];
    };
    for (int i = 0; i < 256; ++i) {
        for (int grade = 0; grade < light_grades; ++grade) EXPECT_EQ(entry(0, grade, i), i);
        for (int level = 1; level < light_levels && i < 64; ++level)
            EXPECT_LE(lab[entry(level, 0, i)].l, lab[entry(level - 1, 0, i)].l + 1e-9) << i << " " << level;
    }
    const Lab white = to_lab({255, 255, 255}), third = to_lab({85, 85, 85});
    EXPECT_LE(lab[entry(light_levels - 1, 0, 63)].l, third.l) << white.l;
    EXPECT_EQ(entry(light_levels - 1, 0, 0), 0);
    for (int grade = 1; grade < light_grades; ++grade)
        EXPECT_GT(lab[entry(light_levels - 1, grade, 0)].l, lab[entry(light_levels - 1, grade - 1, 0)].l);
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
    EXPECT_TRUE(grade_lights(Texture{}, greys, globe).empty());
    EXPECT_TRUE(grade_lights(lights, greys, Texture{}).empty());
}
