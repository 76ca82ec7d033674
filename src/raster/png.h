#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/palette.h"

// Encodes an 8-bit frame as an indexed PNG with the 256-colour palette.
// Returns "" with the file's bytes in out, or the reason it failed.
std::string encode_png(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch, const Palette& palette,
                       std::vector<uint8_t>& out);
