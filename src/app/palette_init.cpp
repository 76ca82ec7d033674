#include "app/palette_init.h"

#include <cstddef>
#include <iterator>

namespace {

struct Base {
    int red, green, blue;
};

constexpr Base ramp_bases[] = {
    {63, 48, 28}, {16, 32, 63}, {63, 60, 56}, {63, 52, 20}, {63, 63, 56}, {63, 28, 16},
    {63, 48, 28}, {56, 48, 24}, {8, 40, 32},  {8, 24, 44},  {8, 24, 16},  {63, 63, 16},
};
// Twelve ramps of sixteen above the 64 greys fill the palette.
static_assert(64 + 16 * std::size(ramp_bases) == 256);

}  // namespace

void build_palette(Palette& palette)
{
    for (int i = 0; i < 64; ++i) {
        const auto grey = static_cast<uint8_t>(4 * i);
        palette[static_cast<size_t>(i)] = {grey, grey, grey, 0};
    }
    for (size_t k = 0; k < std::size(ramp_bases); ++k) {
        const Base& b = ramp_bases[k];
        for (int j = 0; j < 16; ++j) {
            palette[64 + 16 * k + static_cast<size_t>(j)] = {static_cast<uint8_t>(((j + 1) * b.red) >> 2),
                                                             static_cast<uint8_t>(((j + 1) * b.green) >> 2),
                                                             static_cast<uint8_t>(((j + 1) * b.blue) >> 2), 0};
        }
    }
}
