#include "earth/globe_light.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

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

// The lights picture's nearest texel under each texel of the globe picture,
// larger or smaller, graded by its palette entry's brightest channel; no
// picture, no grades. The tables themselves are checked entry by entry on
// whole night frames in test_night_model.py.
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
