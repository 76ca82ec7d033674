#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "raster/font.h"
#include "raster/text.h"

namespace {

struct Canvas {
    std::vector<uint8_t> pixels;
    FrameBuffer frame;
    Canvas(int32_t w, int32_t h, int32_t pitch, uint8_t fill) : pixels(static_cast<size_t>(pitch * h), fill)
    {
        frame.frame_ptr = pixels.data();
        frame.frame_pitch = pitch;
        frame.frame_xres = w;
        frame.frame_yres = h;
        for (int32_t y = 0; y < h; ++y) frame.row_offset.push_back(y * pitch);
    }
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y * frame.frame_pitch + x)]; }
};

}  // namespace

TEST(Text, GlyphOfATransparentAndOpaque)
{
    Canvas c(16, 8, 20, 7);
    drawtext(c.frame, 0, 0, 31, -1, "A");
    const std::set<std::pair<int, int>> set = {{1, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {0, 3}, {2, 3}, {0, 4}, {2, 4}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(c.pixels[static_cast<size_t>(y * 20 + x)], set.count({x, y}) ? 31 : 7) << x << "," << y;

    Canvas o(16, 8, 16, 7);
    drawtext(o.frame, 4, 1, 31, 0, "A");
    int fore = 0, back = 0;
    for (int y = 1; y < 7; ++y)
        for (int x = 4; x < 8; ++x) {
            if (o.at(x, y) == 31) ++fore;
            if (o.at(x, y) == 0) ++back;
        }
    EXPECT_EQ(fore, 10);
    EXPECT_EQ(back, 14);
    EXPECT_EQ(o.at(3, 1), 7);
    EXPECT_EQ(o.at(8, 1), 7);
    EXPECT_EQ(o.at(4, 7), 7);
}

TEST(Text, DegreeSignAndHighBytes)
{
    Canvas c(8, 6, 8, 0);
    drawtext(c.frame, 0, 0, 9, -1, "\xF8");
    // A 3 x 3 ring in rows 0..2.
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool ring = y < 3 && x < 3 && !(x == 1 && y == 1);
            EXPECT_EQ(c.at(x, y), ring ? 9 : 0) << x << "," << y;
        }
    EXPECT_EQ(font_glyphs[0xF8], 0xEAE000u);
    EXPECT_EQ(font_glyphs[0xDB], 0xFFFFFFu);
}

TEST(Text, CharactersAdvanceFourPixelsAndEmptyDrawsNothing)
{
    Canvas c(12, 6, 12, 0);
    drawtext(c.frame, 0, 0, 5, -1, "");
    for (uint8_t p : c.pixels) EXPECT_EQ(p, 0);
    drawtext(c.frame, 0, 0, 5, -1, "\xDB\xDB\xDB");
    for (uint8_t p : c.pixels) EXPECT_EQ(p, 5);
}
