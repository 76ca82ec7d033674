#include "raster/gif.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "core/file_reader.h"
#include "raster/lzw.h"
#include "core/prefault.h"

namespace {

constexpr uint8_t extension_introducer = 0x21;
constexpr uint8_t image_separator = 0x2C;
constexpr const char* file_ends = "the file ends early";

// A bounds-checked cursor over the file; every read first asks has().
struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    bool has(size_t n) const { return size - pos >= n; }
    uint8_t byte() { return data[pos++]; }
    int32_t int16()
    {
        const auto raw = static_cast<uint16_t>(data[pos] | data[pos + 1] << 8);
        pos += 2;
        return static_cast<int16_t>(raw);
    }
};

// A colour table is 3 * 2^(size + 1) bytes of red, green, blue.
struct ColourTable {
    const uint8_t* rgb = nullptr;
    int32_t colours = 0;
};

bool read_table(Cursor& in, uint8_t flags, ColourTable& table)
{
    const int32_t colours = 2 << (flags & 7);
    if (!in.has(static_cast<size_t>(colours) * 3)) return false;
    table = {in.data + in.pos, colours};
    in.pos += static_cast<size_t>(colours) * 3;
    return true;
}

// Skips a chain of data sub-blocks up to its zero length byte.
bool skip_sub_blocks(Cursor& in)
{
    for (;;) {
        if (!in.has(1)) return false;
        const uint8_t n = in.byte();
        if (n == 0) return true;
        if (!in.has(n)) return false;
        in.pos += n;
    }
}

// Joins the image's data sub-blocks. The chain must end with its zero length
// byte inside the file: a file cut anywhere in its image data is refused.
bool join_sub_blocks(Cursor& in, std::vector<uint8_t>& out)
{
    const size_t start = in.pos;
    if (!skip_sub_blocks(in)) return false;
    reserve_prefaulted(out, in.pos - start);
    for (size_t p = start; in.data[p] != 0; p += 1 + in.data[p])
        out.insert(out.end(), in.data + p + 1, in.data + p + 1 + in.data[p]);
    return true;
}

struct Header {
    ColourTable table;
    PictureLayout layout;
    LzwData lzw;
};

// Everything up to and including the image data; the reason on failure.
const char* parse(Cursor& in, Header& h, GifInfo& info)
{
    if (!in.has(13) || std::memcmp(in.data, "GIF", 3) != 0) return "not a GIF file";
    in.pos = 10;
    const uint8_t screen_flags = in.byte();
    in.pos = 12;
    if (in.byte() != 0) return "the pixel aspect ratio byte is not 0";
    if ((screen_flags & 0x80) && !read_table(in, screen_flags, h.table)) return file_ends;

    for (;;) {
        if (!in.has(1)) return file_ends;
        const uint8_t block = in.byte();
        if (block == image_separator) break;
        if (block != extension_introducer) return "no image before the first block that is not an extension";
        if (!in.has(1)) return file_ends;
        in.byte();  // the label: every extension is skipped alike
        if (!skip_sub_blocks(in)) return file_ends;
    }

    if (!in.has(9)) return file_ends;
    in.pos += 4;  // left and top
    const int32_t width = in.int16();
    const int32_t height = in.int16();
    const uint8_t image_flags = in.byte();
    if ((image_flags & 0x80) && !read_table(in, image_flags, h.table)) return file_ends;
    info.colours = h.table.colours;
    info.interlaced = (image_flags & 0x40) != 0;
    info.image_height = height;

    // The texture is a longitude-latitude map: at most width / 2 rows are kept.
    h.layout = {width, height, std::min(width >> 1, height), info.interlaced};
    if (h.layout.kept_rows <= 0) return "the image is empty or less than 2 pixels wide";

    if (!in.has(1)) return file_ends;
    h.lzw.code_size = in.byte();
    if (h.lzw.code_size < lzw_min_code_size || h.lzw.code_size > lzw_max_code_size)
        return "the LZW code size is not 2 to 8";
    if (!join_sub_blocks(in, h.lzw.bytes)) return file_ends;
    return nullptr;
}

// No code yields more than 4096 pixels: data too short for the picture is
// refused before the picture is allocated.
bool may_fill(const Header& h)
{
    const uint64_t pixels = static_cast<uint64_t>(h.layout.width) * static_cast<uint64_t>(h.layout.kept_rows);
    const uint64_t codes = h.lzw.bytes.size() * 8 / static_cast<uint64_t>(h.lzw.code_size + 1);
    return pixels <= codes * 4096;
}

}  // namespace

Result decode_gif(const uint8_t* data, size_t size, Texture& texture, Palette& palette, GifInfo& info)
{
    info = GifInfo{};
    Cursor in{data, size};
    Header h;
    Texture fresh;
    try {
        if (const char* reason = parse(in, h, info)) return failed(reason);
        if (!may_fill(h)) return failed("the image data ends before the last row");
        const size_t pixels = static_cast<size_t>(h.layout.width) * static_cast<size_t>(h.layout.kept_rows);
        reserve_prefaulted(fresh.pic, pixels);
        fresh.pic.resize(pixels);
        if (const char* reason = lzw_decode(h.lzw, h.layout, fresh.pic.data())) return failed(reason);
    } catch (const std::bad_alloc&) {
        return out_of_memory("pic");
    }
    fresh.pic_width = h.layout.width;
    fresh.pic_height = h.layout.kept_rows;
    texture = std::move(fresh);

    // A file without any colour table leaves the palette as it is.
    for (int32_t i = 0; i < h.table.colours; ++i) {
        PaletteEntry& entry = palette[static_cast<size_t>(i)];
        entry.red = h.table.rgb[3 * i];
        entry.green = h.table.rgb[3 * i + 1];
        entry.blue = h.table.rgb[3 * i + 2];
    }
    return {};
}

Result loadgif(std::string name, Texture& texture, Palette& palette, GifInfo& info)
{
    info = GifInfo{};
    if (name.find('.') == std::string::npos) name += ".gif";
    // Far beyond any Earth image: the shipped one takes 500 KB.
    constexpr size_t max_gif_bytes = size_t{256} << 20;
    std::vector<uint8_t> bytes;
    if (const Result read = read_whole_file(name, max_gif_bytes, bytes); !read.ok())
        return failed("cannot read " + name + ": " + read.reason);
    return decode_gif(bytes.data(), bytes.size(), texture, palette, info);
}
