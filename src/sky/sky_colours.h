#pragma once
#include <array>
#include <cstdint>

#include "platform/palette.h"

// For each palette index the sky paints, the index it is shown with.
using SkyColours = std::array<uint8_t, 256>;

// Every index shown as itself.
SkyColours same_sky_colours();

// The sky's colours are those of the palette start-up builds (meant); where
// an image has put colours of its own over them (shown), each becomes the
// entry of the shown palette nearest to the colour meant.
SkyColours sky_colours(const Palette& meant, const Palette& shown);
