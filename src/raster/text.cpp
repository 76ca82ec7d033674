#include "raster/text.h"

#include "raster/font.h"

void drawtext(const FrameBuffer& frame, int32_t x, int32_t y, int32_t fg, int32_t bg, const char* text)
{
    const auto fore = static_cast<uint8_t>(fg);
    const auto back = static_cast<uint8_t>(bg);
    for (int32_t i = 0; text[i] != '\0'; ++i) {
        const uint32_t glyph = font_glyphs[static_cast<uint8_t>(text[i])];
        for (int32_t r = 0; r < 6; ++r) {
            uint8_t* p = frame.row(y + r) + x + 4 * i;
            for (int32_t c = 0; c < 4; ++c) {
                if (glyph >> (4 * (5 - r) + (3 - c)) & 1)
                    p[c] = fore;
                else if (bg >= 0)
                    p[c] = back;
            }
        }
    }
}
