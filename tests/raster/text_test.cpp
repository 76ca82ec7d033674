#include <gtest/gtest.h>

#include <string>

#include "raster/text.h"
#include "support/test_frame.h"

// An "L" is its left column and a foot three pixels wide in the fifth row;
// the full block (0xDB) fills its 4 x 6 cell; each character moves 4 pixels on.
TEST(Text, GlyphsFillTheirCellsAndOnlyThem)
{
    for (int32_t bg : {-1, 0}) {
        TestFrame f(20, 8, 7);
        drawtext(f.frame, 2, 1, 31, bg, "L\xDB\xDB");
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 20; ++x) {
                const bool cell = y >= 1 && y < 7 && x >= 2 && x < 14;
                const bool ink = cell && (x >= 6 || (x == 2 && y < 6) || (y == 5 && x < 5));
                EXPECT_EQ(f.at(x, y), ink ? 31 : cell && bg == 0 ? 0 : 7) << x << "," << y << " bg " << bg;
            }
        EXPECT_TRUE(f.guards_intact());
    }
}
