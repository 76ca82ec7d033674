#include "raster/lzw.h"

#include <array>
#include <cstddef>

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
        // A 12-bit code at bit offset 7 spans three bytes.
        const uint32_t word = byte_at(i) | byte_at(i + 1) << 8 | byte_at(i + 2) << 16;
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
    std::array<uint8_t, max_codes> stack;
};

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
    }
    BitReader bits{data.bytes};
    PixelSink sink(layout, pic);

    for (;;) {
        int32_t code = 0;
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
        if (adding) table.prefix[static_cast<size_t>(next)] = code;

        // Prefixes always name lower codes, so the walk ends at a root.
        size_t depth = 0;
        int32_t walk = code;
        while (walk >= clear) {
            table.stack[depth++] = table.suffix[static_cast<size_t>(walk)];
            walk = table.prefix[static_cast<size_t>(walk)];
        }
        const auto first = static_cast<uint8_t>(walk);
        table.stack[depth++] = first;
        if (adding) {
            table.suffix[static_cast<size_t>(next)] = first;
            table.suffix[static_cast<size_t>(next - 1)] = first;
            ++next;
        }
        while (depth > 0) {
            if (sink.put(table.stack[--depth])) return nullptr;
        }
    }
}
