#include <gtest/gtest.h>

#include "app/palette_init.h"

// The palette is the same whatever it held before (a picture's palette
// loaded into it, say): greys in 0..63, then twelve ramps of sixteen shades
// rising to four times their base colour.
TEST(Palette, EveryEntryIsWrittenWhateverWasThere)
{
    Palette fresh{}, used;
    used.fill({171, 171, 171, 171});
    build_palette(fresh);
    build_palette(used);
    for (size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(used[i].red, fresh[i].red) << i;
        EXPECT_EQ(used[i].green, fresh[i].green) << i;
        EXPECT_EQ(used[i].blue, fresh[i].blue) << i;
    }
    const struct {
        size_t entry;
        uint8_t red, green, blue;
    } anchors[] = {{0, 0, 0, 0}, {63, 252, 252, 252}, {64, 15, 12, 7}, {79, 252, 192, 112}, {255, 252, 252, 64}};
    for (const auto& a : anchors) {
        EXPECT_EQ(fresh[a.entry].red, a.red) << a.entry;
        EXPECT_EQ(fresh[a.entry].green, a.green) << a.entry;
        EXPECT_EQ(fresh[a.entry].blue, a.blue) << a.entry;
    }
}
