#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/palette.h"

// Encodes an 8-bit frame as an indexed PNG with the 256-colour palette, the
// file's bytes in out.
Result encode_png(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch, const Palette& palette,
                       std::vector<uint8_t>& out);
