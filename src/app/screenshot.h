#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/palette.h"

// An 8-bit run-length PCX picture with the 256-colour palette.
std::vector<uint8_t> encode_pcx(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                                const Palette& palette);
// Writes it so that the file appears only when complete.
Result write_pcx(const char* filename, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
              const Palette& palette);

// "GLOB0000.PCX" with the counter's last four decimal digits.
std::string screenshot_name(int32_t counter);

// Saves the frame under the first free name from *counter on, never replacing
// an existing file; the file appears only once it is complete. On success the
// counter moves past the name used; on failure it stays.
Result save_screenshot(int32_t* counter, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                    const Palette& palette);
