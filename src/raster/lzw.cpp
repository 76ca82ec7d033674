#include "raster/lzw.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

constexpr int32_t max_codes = 4096;
constexpr int32_t max_code_width = 12;
constexpr const char* data_ends = "the image data ends before the last row";

// Codes packed least significant bit first, as GIF requires.
struct BitReader {
    const std::vector<uint8_t>& bytes;
    uint64_t pos = 0;

    uint32_t byte_at(uint64_t i) const { return i < bytes.size() ? bytes[i] : 0u; }

    bool read(int32_t width, int32_t& code)
    {
        if (pos + static_cast<uint64_t>(width) > static_cast<uint64_t>(bytes.size()) * 8) return false;
        const uint64_t i = pos >> 3;
        // A 12-bit code at bit offset 7 spans three bytes; within the last
        // two, the check above keeps the code's bits inside them.
        const uint8_t* at = bytes.data() + i;
        const uint32_t word = i + 3 <= bytes.size() ? at[0] | at[1] << 8 | at[2] << 16
                                                    : byte_at(i) | byte_at(i + 1) << 8;
        code = static_cast<int32_t>((word >> (pos & 7)) & ((1u << width) - 1));
        pos += static_cast<uint64_t>(width);
        return true;
    }
};

// Rows in the order the file sends them: top to bottom, or the interlace
// passes (first row, step) = (0, 8), (4, 8), (2, 4), (1, 2) over the image's
// full height, so that a kept part of an interlaced image holds the same rows
// as the same image stored without interlacing.
struct RowOrder {
    int32_t height = 0;
    bool interlaced = false;
    int pass = 0;
    int32_t row = 0;

    // False after the last row.
    bool advance()
    {
        if (!interlaced) return ++row < height;
        static constexpr int32_t first[4] = {0, 4, 2, 1};
        static constexpr int32_t step[4] = {8, 8, 4, 2};
        row += step[pass];
        while (row >= height) {
            if (++pass == 4) return false;
            row = first[pass];
        }
        return true;
    }
};

// Stores pixels row by row; rows below the kept ones are decoded into a
// scratch row and dropped.
struct PixelSink {
    const PictureLayout& layout;
    uint8_t* pic;
    std::vector<uint8_t> scratch;
    RowOrder order{layout.image_height, layout.interlaced};
    int32_t rows_done = 0;
    int32_t x = 0;
    uint8_t* out = pic;

    PixelSink(const PictureLayout& l, uint8_t* p)
        : layout(l), pic(p), scratch(l.image_height > l.kept_rows ? static_cast<size_t>(l.width) : 0)
    {
    }

    // Whether n pixels fit in the row without completing it.
    bool room_for(int32_t n) const { return x + n < layout.width; }

    // Where the next pixel goes, counted from pic's start, while the rows
    // come in order (and so never into the scratch row).
    size_t position() const { return static_cast<size_t>(out - pic) + static_cast<size_t>(x); }

    // True once every kept row is complete.
    bool put(uint8_t pixel)
    {
        out[x] = pixel;
        if (++x < layout.width) return false;
        x = 0;
        if (order.row < layout.kept_rows && ++rows_done == layout.kept_rows) return true;
        if (!order.advance()) return true;
        out = order.row < layout.kept_rows ? pic + static_cast<size_t>(order.row) * static_cast<size_t>(layout.width)
                                           : scratch.data();
        return false;
    }
};

// The string table. Each entry is completed one step late: the code that
// follows supplies its last character. The extra entry is the provisional one
// made as the table fills up, which no 12-bit code can name.
struct StringTable {
    std::array<int32_t, max_codes + 1> prefix;
    std::array<uint8_t, max_codes + 1> suffix;
    std::array<int32_t, max_codes + 1> length;
    std::array<size_t, max_codes + 1> offset;
    std::array<uint8_t, max_codes> stack;

    // The string of code, written backwards from its last pixel straight
    // into out; gives its first pixel.
    uint8_t write(int32_t code, uint8_t* out) const
    {
        for (int32_t i = length[static_cast<size_t>(code)] - 1; i > 0; --i) {
            out[i] = suffix[static_cast<size_t>(code)];
            code = prefix[static_cast<size_t>(code)];
        }
        out[0] = static_cast<uint8_t>(code);
        return out[0];
    }
};

// Copies a string of n pixels forwards from earlier in the picture, pixel by
// pixel where the two overlap. A short one goes as one block of 16, whose
// bytes past the string are rewritten by the strings that follow, as long as
// the block stays inside the picture.
void copy_string(const uint8_t* from, uint8_t* to, int32_t n, const uint8_t* end)
{
    constexpr int32_t block = 16;
    if (n <= block && to - from >= block && end - to >= block) {
        std::memcpy(to, from, block);
        return;
    }
    for (int32_t i = 0; i < n; ++i) to[i] = from[i];
}

}  // namespace

const char* lzw_decode(const LzwData& data, const PictureLayout& layout, uint8_t* pic)
{
    const int32_t root_bits = data.code_size;
    if (root_bits < lzw_min_code_size || root_bits > lzw_max_code_size) return "the LZW code size is not 2 to 8";
    if (layout.width <= 0 || layout.kept_rows <= 0 || layout.kept_rows > layout.image_height) return "the image is empty";
    const int32_t clear = 1 << root_bits;
    const int32_t end = clear + 1;
    int32_t width = root_bits + 1;
    int32_t limit = 1 << width;
    int32_t next = clear + 2;

    StringTable table;
    for (int32_t i = 0; i < clear; ++i) {
        table.prefix[static_cast<size_t>(i)] = i;
        table.suffix[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
        table.length[static_cast<size_t>(i)] = 1;
    }
    BitReader bits{data.bytes};
    PixelSink sink(layout, pic);
    const bool in_order = !layout.interlaced;
    const uint8_t* pic_end = pic + static_cast<size_t>(layout.width) * static_cast<size_t>(layout.kept_rows);

    for (;;) {
        int32_t code{};
        if (!bits.read(width, code)) return data_ends;
        if (code == clear) {
            next = clear + 2;
            width = root_bits + 1;
            limit = 1 << width;
            continue;
        }
        if (code == end) return data_ends;
        // Valid codes name a complete entry or the one the previous code made
        // provisional; anything beyond would follow stale entries.
        if (code >= next) return "a code beyond the next free code";
        if (next == limit && width < max_code_width) {
            limit <<= 1;
            ++width;
        }
        const bool adding = next <= max_codes;
        if (adding) {
            table.prefix[static_cast<size_t>(next)] = code;
            table.length[static_cast<size_t>(next)] = table.length[static_cast<size_t>(code)] + 1;
            if (in_order) table.offset[static_cast<size_t>(next)] = sink.position();
        }

        // A string that fits in the row goes straight there; one that ends
        // a row goes pixel by pixel, and the sink moves on to the next row.
        // Rows that arrive in order leave every entry's string in pic at the
        // offset where it was written, so it is copied from there, pixel by
        // pixel: the provisional entry's source runs into its own copy.
        // Otherwise the string is walked; prefixes always name lower codes,
        // so a walk ends at a root.
        const int32_t length = table.length[static_cast<size_t>(code)];
        const bool direct = sink.room_for(length);
        uint8_t first{};
        if (direct && in_order && code > clear) {
            const uint8_t* from = pic + table.offset[static_cast<size_t>(code)];
            uint8_t* to = sink.out + sink.x;
            copy_string(from, to, length, pic_end);
            first = to[0];
        } else {
            first = table.write(code, direct ? sink.out + sink.x : table.stack.data());
        }
        if (adding) {
            table.suffix[static_cast<size_t>(next)] = first;
            table.suffix[static_cast<size_t>(next - 1)] = first;
            ++next;
        }
        if (direct) {
            sink.x += length;
            continue;
        }
        for (int32_t i = 0; i < length; ++i) {
            if (sink.put(table.stack[static_cast<size_t>(i)])) return nullptr;
        }
    }
}
