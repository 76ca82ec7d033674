#pragma once
#include <array>
#include <bitset>
#include <cstdint>

#include "platform/palette.h"

// The palette entry that looks nearest to a colour: the smallest CIE 1976
// difference in L*a*b*, which follows the eye where plain RGB distance does
// not (it calls dark blues and greys alike that look far apart).

// A colour on the palette's 0..255 scale, fractions allowed.
struct Rgb {
    double red = 0, green = 0, blue = 0;
};

struct Lab {
    double l = 0, a = 0, b = 0;
};

// Which entries may be chosen.
using EntryMask = std::bitset<256>;

// sRGB with the D65 white.
Lab to_lab(Rgb colour);
std::array<Lab, 256> lab_palette(const Palette& palette);

// The allowed entry nearest to `colour`, the lowest index among equals; 0
// when none is allowed. The first form converts the palette each call; the
// second takes it converted once, for the many look-ups of a table.
uint8_t nearest_entry(const Palette& palette, Rgb colour, const EntryMask& allowed);
uint8_t nearest_entry(const std::array<Lab, 256>& palette, Lab colour, const EntryMask& allowed);
