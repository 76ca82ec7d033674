#include "app/palette_init.h"

#include <cstddef>

namespace {

struct Base {
    int red, green, blue;
};

constexpr Base ramp_bases[12] = {
    {63, 48, 28}, {16, 32, 63}, {63, 60, 56}, {63, 52, 20}, {63, 63, 56}, {63, 28, 16},
    {63, 48, 28}, {56, 48, 24}, {8, 40, 32},  {8, 24, 44},  {8, 24, 16},  {63, 63, 16},
};

}  // namespace

void build_palette(Palette& palette)
{
    for (int i = 0; i < 64; ++i) {
        const auto grey = static_cast<uint8_t>(4 * i);
        palette[static_cast<size_t>(i)] = {grey, grey, grey, 0};
    }
    for (int k = 0; k < 12; ++k) {
        const Base& b = ramp_bases[k];
        for (int j = 0; j < 16; ++j) {
            palette[static_cast<size_t>(64 + 16 * k + j)] = {static_cast<uint8_t>(((j + 1) * b.red) >> 2),
                                                             static_cast<uint8_t>(((j + 1) * b.green) >> 2),
                                                             static_cast<uint8_t>(((j + 1) * b.blue) >> 2), 0};
        }
    }
}
