#include "app/screenshot.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "core/atomic_file.h"

namespace {

constexpr int32_t name_count = 10000;

void put16(uint8_t* p, int32_t v)
{
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

void header(uint8_t* h, int32_t width, int32_t height)
{
    std::memset(h, 0, 128);
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = 1;
    h[3] = 8;
    put16(h + 8, width - 1);
    put16(h + 10, height - 1);
    put16(h + 12, width);
    put16(h + 14, height);
    for (int i = 0; i < 16; ++i) h[16 + 3 * i] = h[17 + 3 * i] = h[18 + 3 * i] = static_cast<uint8_t>(8 * i);
    h[65] = 1;
    put16(h + 66, width);
}

void encode_row(std::vector<uint8_t>& out, const uint8_t* row, int32_t width)
{
    int32_t x = 0;
    while (x < width) {
        const uint8_t value = row[x];
        int32_t n = 1;
        while (n < 63 && x + n < width && row[x + n] == value) ++n;
        if (n > 1 || value >= 0xC0) out.push_back(static_cast<uint8_t>(0xC0 | n));
        out.push_back(value);
        x += n;
    }
}

bool exists(const std::string& name)
{
    return access(name.c_str(), F_OK) == 0 || errno != ENOENT;
}

}  // namespace

std::vector<uint8_t> encode_pcx(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                                const Palette& palette)
{
    std::vector<uint8_t> out(128);
    header(out.data(), width, height);
    for (int32_t y = 0; y < height; ++y) encode_row(out, pixels + static_cast<std::ptrdiff_t>(y) * pitch, width);
    out.push_back(0x0C);
    for (const PaletteEntry& e : palette) out.insert(out.end(), {e.red, e.green, e.blue});
    return out;
}

Result write_pcx(const char* filename, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                 const Palette& palette)
{
    return write_file_atomically(filename, encode_pcx(pixels, width, height, pitch, palette));
}

std::string screenshot_name(int32_t counter)
{
    std::string name = "GLOB0000.PCX";
    for (int i = 7, c = counter; i >= 4; --i, c /= 10) name[static_cast<size_t>(i)] = static_cast<char>('0' + c % 10);
    return name;
}

Result save_screenshot(int32_t* counter, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                       const Palette& palette)
{
    const std::vector<uint8_t> file = encode_pcx(pixels, width, height, pitch, palette);
    for (int32_t tries = 0; tries < name_count; ++tries) {
        const int32_t number = (*counter + tries) % name_count;
        const std::string name = screenshot_name(number);
        if (exists(name)) continue;
        // Linked into place, so a name that appeared meanwhile is not replaced.
        const Result written = write_file_atomically(name, file, false);
        if (!written.ok()) return failed(name + ": " + written.reason);
        *counter = number + 1;
        return written;
    }
    return failed("every name from " + screenshot_name(0) + " to " + screenshot_name(name_count - 1) + " is taken");
}
