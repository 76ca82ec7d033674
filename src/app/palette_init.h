#pragma once
#include "platform/palette.h"

// The fixed display palette: a grey ramp in 0..63 and twelve colour ramps of
// 16 entries in 64..255, which the renderers pick by index range.
void build_palette(Palette& palette);
