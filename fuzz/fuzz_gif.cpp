// Feeds arbitrary bytes to the GIF decoder: it must refuse or accept without
// reading or writing outside its buffers, leave the texture and the palette
// alone when it refuses, and keep at most width / 2 rows when it accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "raster/gif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Texture texture;
    texture.pic = {7};
    texture.pic_width = texture.pic_height = 1;
    Palette palette;
    palette.fill({1, 2, 3, 4});
    GifInfo info;
    if (const Result decoded = decode_gif(data, size, texture, palette, info); !decoded.ok()) {
        if (texture.pic.size() != 1 || texture.pic[0] != 7 || decoded.reason.empty()) std::abort();
        for (const PaletteEntry& e : palette)
            if (e.red != 1 || e.green != 2 || e.blue != 3) std::abort();
        return 0;
    }
    const auto width = static_cast<size_t>(texture.pic_width);
    const auto height = static_cast<size_t>(texture.pic_height);
    if (width < 2 || height < 1 || height > width / 2 || texture.pic.size() != width * height) std::abort();
    for (const PaletteEntry& e : palette)
        if (e.flags != 4) std::abort();
    return 0;
}
