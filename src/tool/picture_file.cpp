#include "tool/picture_file.h"

#include <strings.h>

#include "app/screenshot.h"
#include "core/atomic_file.h"
#include "raster/png.h"

Result write_picture(const std::string& path, const uint8_t* pixels, int32_t width, int32_t height,
                          int32_t pitch, const Palette& palette)
{
    const bool png = path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".png") == 0;
    if (!png) return write_file_atomically(path, encode_pcx(pixels, width, height, pitch, palette));
    std::vector<uint8_t> bytes;
    const Result encoded = encode_png(pixels, width, height, pitch, palette, bytes);
    return encoded.ok() ? write_file_atomically(path, bytes) : encoded;
}
