#pragma once
#include <bitset>

#include "platform/palette.h"

// Which palette entries a match may choose from.
using PaletteEntries = std::bitset<256>;

// A colour in CIELAB (D65 white) from its sRGB red, green and blue.
struct LabColour {
    double l = 0;
    double a = 0;
    double b = 0;
};
LabColour lab_colour(const PaletteEntry& colour);

// The allowed entry of the palette nearest to colour by the CIE76 difference
// (distance in CIELAB, which follows what the eye sees far better than
// distance in RGB); the lowest index wins a tie, -1 when none is allowed.
int nearest_entry(const Palette& palette, const PaletteEntry& colour, const PaletteEntries& allowed);
