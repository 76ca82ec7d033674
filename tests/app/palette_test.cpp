#include <gtest/gtest.h>

#include "app/palette_init.h"

TEST(Palette, GreyRampAndColourRamps)
{
    Palette p;
    build_palette(p);
    auto rgb = [&](int i) { return std::array<int, 4>{p[i].red, p[i].green, p[i].blue, p[i].flags}; };
    EXPECT_EQ(rgb(0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(rgb(31), (std::array<int, 4>{124, 124, 124, 0}));
    EXPECT_EQ(rgb(63), (std::array<int, 4>{252, 252, 252, 0}));
    EXPECT_EQ(rgb(64), (std::array<int, 4>{15, 12, 7, 0}));
    const std::array<int, 4> last[12] = {
        {252, 192, 112, 0}, {64, 128, 252, 0}, {252, 240, 224, 0}, {252, 208, 80, 0},
        {252, 252, 224, 0}, {252, 112, 64, 0}, {252, 192, 112, 0}, {224, 192, 96, 0},
        {32, 160, 128, 0},  {32, 96, 176, 0},  {32, 96, 64, 0},    {252, 252, 64, 0},
    };
    for (int k = 0; k < 12; ++k) EXPECT_EQ(rgb(79 + 16 * k), last[k]) << "ramp " << k;
    // (j + 1) * base >> 2 truncates: entry 80 + 2 has base 16, 32, 63 and j = 2.
    EXPECT_EQ(rgb(82), (std::array<int, 4>{12, 24, 47, 0}));
}
