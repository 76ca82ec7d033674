#pragma once
#include <cstdint>
#include <string>

#include "core/result.h"
#include "platform/palette.h"

// Writes an 8-bit frame with its palette as an indexed PNG when path ends in
// ".png" (in any case), else as PCX, so that the file appears only when
// complete.
Result write_picture(const std::string& path, const uint8_t* pixels, int32_t width, int32_t height,
                          int32_t pitch, const Palette& palette);
