#include "raster/png.h"

#include <png.h>

Result encode_png(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch, const Palette& palette,
                       std::vector<uint8_t>& out)
{
    uint8_t colours[256 * 3];
    uint8_t* to = colours;
    for (const auto& c : palette) {
        *to++ = c.red;
        *to++ = c.green;
        *to++ = c.blue;
    }
    // libpng's simplified interface keeps its setjmp error handling inside the library.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = 256;
    png_alloc_size_t size = 0;
    if (png_image_write_get_memory_size(image, size, 0, pixels, pitch, colours)) {
        out.resize(size);
        if (png_image_write_to_memory(&image, out.data(), &size, 0, pixels, pitch, colours)) {
            out.resize(size);
            return {};
        }
    }
    const std::string reason = image.message[0] ? image.message : "PNG encoding failed";
    png_image_free(&image);
    out.clear();
    return failed(reason);
}
