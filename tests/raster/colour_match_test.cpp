#include <gtest/gtest.h>

#include "raster/colour_match.h"

// The primaries and a mid grey against the published sRGB (D65) values.
TEST(ColourMatch, LabOfKnownColours)
{
    const struct {
        Rgb rgb;
        Lab lab;
    } cases[] = {
        {{255, 0, 0}, {53.2408, 80.0925, 67.2032}},   {{0, 255, 0}, {87.7347, -86.1827, 83.1793}},
        {{0, 0, 255}, {32.2970, 79.1875, -107.8602}}, {{128, 128, 128}, {53.5850, 0, 0}},
        {{255, 255, 255}, {100, 0, 0}},               {{0, 0, 0}, {0, 0, 0}},
        {{1, 1, 1}, {0.2742, 0, 0}},
    };
    for (const auto& c : cases) {
        const Lab lab = to_lab(c.rgb);
        EXPECT_NEAR(lab.l, c.lab.l, 1e-3) << c.rgb.red << "," << c.rgb.green << "," << c.rgb.blue;
        EXPECT_NEAR(lab.a, c.lab.a, 1e-3) << c.rgb.red << "," << c.rgb.green << "," << c.rgb.blue;
        EXPECT_NEAR(lab.b, c.lab.b, 1e-3) << c.rgb.red << "," << c.rgb.green << "," << c.rgb.blue;
    }
}

// A dark blue looks nearer a brighter blue than a greenish one, though plain
// RGB distance says otherwise; only allowed entries are chosen, the lowest
// of equals first, and 0 when none is allowed.
TEST(ColourMatch, NearestAllowedEntryByLookNotRgbDistance)
{
    Palette palette{};
    palette[3] = {0, 40, 100, 0};
    palette[7] = {0, 0, 160, 0};
    palette[9] = {0, 0, 160, 0};
    palette[200] = {0, 0, 100, 0};
    EntryMask allowed;
    allowed.set(3).set(7).set(9);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 100}, allowed), 7);
    allowed.reset(7);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 100}, allowed), 9);
    allowed.set(200);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 100}, allowed), 200);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 0}, EntryMask{}.set(0).set(1)), 0);
    EXPECT_EQ(nearest_entry(palette, {0, 0, 100}, EntryMask{}), 0);
    palette[255] = {255, 255, 255, 0};
    EXPECT_EQ(nearest_entry(palette, {250, 250, 250}, EntryMask{}.set(3).set(255)), 255);
}
