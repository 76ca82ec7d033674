#pragma once
// Pictures and text: this GIF decoder with its LZW stream, PNG writing and
// the 4 x 6 font. Built on core/, and on platform/ for the palette type.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/palette.h"

// The decoded Earth image: pic_width * pic_height palette indices, top row first.
struct Texture {
    std::vector<uint8_t> pic;
    int32_t pic_width = 0;
    int32_t pic_height = 0;
};

// What the decoder learnt about the file besides the picture.
struct GifInfo {
    int32_t image_height = 0;  // rows in the file; the texture keeps at most width / 2
    int32_t colours = 0;       // entries of the colour table in use; 0 when the file has none
    bool interlaced = false;
};

// Decodes the first image of a GIF file held in memory. On success the
// picture replaces `texture` and the colour table in use replaces palette
// entries 0..colours-1 (flags bytes untouched). On failure both are left as
// they were.
Result decode_gif(const uint8_t* data, size_t size, Texture& texture, Palette& palette, GifInfo& info);

// Reads the file and decodes it as decode_gif does; ".gif" is appended to a
// name without a ".".
Result loadgif(std::string name, Texture& texture, Palette& palette, GifInfo& info);
