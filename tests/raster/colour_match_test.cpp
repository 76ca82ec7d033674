#include "raster/colour_match.h"

#include <gtest/gtest.h>

#include <tuple>

// CIELAB of the sRGB primaries, white, black and middle grey, as published
// for D65; the nearest entry by CIE76, not by distance in RGB, with ties to
// the lowest index and only among the allowed entries.
TEST(ColourMatch, LabValuesAndTheNearestEntry)
{
    const std::tuple<PaletteEntry, double, double, double> known[] = {
        {{255, 255, 255, 0}, 100, 0, 0},
        {{0, 0, 0, 0}, 0, 0, 0},
        {{128, 128, 128, 0}, 53.585, 0, 0},
        {{255, 0, 0, 0}, 53.2408, 80.0925, 67.2032},
        {{0, 255, 0, 0}, 87.7347, -86.1827, 83.1793},
        {{0, 0, 255, 0}, 32.2970, 79.1875, -107.8602},
    };
    for (const auto& [rgb, l, a, b] : known) {
        const LabColour lab = lab_colour(rgb);
        EXPECT_NEAR(lab.l, l, 1e-3);
        EXPECT_NEAR(lab.a, a, 1e-3);
        EXPECT_NEAR(lab.b, b, 1e-3);
    }

    Palette palette{};
    palette[3] = {0, 0, 130, 0};     // nearer to (0, 0, 200) in RGB
    palette[7] = {50, 50, 230, 0};   // nearer as the eye sees it
    palette[9] = {50, 50, 230, 0};   // the same again: the lower index wins
    palette[200] = {0, 0, 200, 0};   // exact, when allowed
    PaletteEntries allowed;
    allowed.set(3).set(7).set(9);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 200, 0}, allowed), 7);
    allowed.reset(7);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 200, 0}, allowed), 9);
    allowed.set(200);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 200, 0}, allowed), 200);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 200, 0}, PaletteEntries{}), -1);
    // Every entry black but the allowed ones: black itself is nearest to black.
    EXPECT_EQ(nearest_entry(palette, {0, 0, 0, 0}, PaletteEntries{}.set()), 0);
}
