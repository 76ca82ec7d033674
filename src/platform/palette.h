#pragma once
#include <array>
#include <cstdint>

// One display colour: red, green, blue and a flags byte that is always 0.
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

using Palette = std::array<PaletteEntry, 256>;
