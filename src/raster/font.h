#pragma once
#include <array>
#include <cstdint>

// One 24-bit glyph per byte value: pixel (column c, row r) of a cell is set
// when bit 4 * (5 - r) + (3 - c) is 1.
extern const std::array<uint32_t, 256> font_glyphs;
