#pragma once
// Writes GIF files for the decoder tests, with an LZW encoder of its own
// (a dictionary of strings, unlike the decoder's deferred prefix table).
#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace gifbuild {

using Bytes = std::vector<uint8_t>;

// Codes with their widths, packed least significant bit first.
struct BitWriter {
    Bytes bytes;
    uint64_t bits = 0;
    void put(int code, int width)
    {
        for (int i = 0; i < width; ++i, ++bits) {
            if (bits % 8 == 0) bytes.push_back(0);
            if (code >> i & 1) bytes.back() |= static_cast<uint8_t>(1 << (bits % 8));
        }
    }
};

struct LzwOptions {
    bool initial_clear = true;
    bool clear_when_full = true;  // false: the table stays full until the end
    int clear_every = 0;          // also clear after this many codes (0: never)
};

inline Bytes lzw_encode(const Bytes& pixels, int code_size, const LzwOptions& o = {})
{
    const int clear = 1 << code_size;
    BitWriter out;
    std::map<std::pair<int, uint8_t>, int> dict;
    int width = code_size + 1;
    int next = clear + 2;
    int codes = 0;
    auto reset = [&] {
        out.put(clear, width);
        dict.clear();
        width = code_size + 1;
        next = clear + 2;
        codes = 0;
    };
    if (o.initial_clear) out.put(clear, width);
    int prefix = -1;
    for (uint8_t c : pixels) {
        if (prefix < 0) {
            prefix = c;
            continue;
        }
        const auto it = dict.find({prefix, c});
        if (it != dict.end()) {
            prefix = it->second;
            continue;
        }
        out.put(prefix, width);
        ++codes;
        // The decoder widens its codes once it holds 2^width entries, one
        // code after the encoder made the entry.
        if (next >= (1 << width) && width < 12) ++width;
        if (next < 4096) dict[{prefix, c}] = next++;
        prefix = c;
        if ((next == 4096 && o.clear_when_full) || (o.clear_every > 0 && codes == o.clear_every)) reset();
    }
    if (prefix >= 0) {
        out.put(prefix, width);
        if (next >= (1 << width) && width < 12) ++width;
    }
    out.put(clear + 1, width);
    return out.bytes;
}

// Data split into sub-blocks of at most `block` bytes, with the terminator.
inline Bytes sub_blocks(const Bytes& data, size_t block = 255)
{
    Bytes out;
    for (size_t i = 0; i < data.size(); i += block) {
        const size_t n = std::min(block, data.size() - i);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + n));
    }
    out.push_back(0);
    return out;
}

// Rows in the order an interlaced file stores them.
inline Bytes interlace(const Bytes& pixels, int width, int height)
{
    Bytes out;
    const int first[4] = {0, 4, 2, 1};
    const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = first[pass]; y < height; y += step[pass])
            out.insert(out.end(), pixels.begin() + static_cast<long>(y) * width,
                       pixels.begin() + static_cast<long>(y + 1) * width);
    return out;
}

inline int table_bits(size_t colours)
{
    int bits = 0;
    while ((2u << bits) < colours) ++bits;
    return bits;
}

inline void put16(Bytes& out, int v)
{
    out.push_back(static_cast<uint8_t>(v & 0xff));
    out.push_back(static_cast<uint8_t>(v >> 8 & 0xff));
}

struct GifPlan {
    int width = 8;
    int height = 4;
    Bytes pixels;     // width * height, top row first
    Bytes global;     // 3 bytes per colour, a power of two from 2 to 256; empty: none
    Bytes local;      // likewise
    bool interlaced = false;
    int code_size = 8;
    Bytes before_image;  // raw blocks between the header and the image
    LzwOptions lzw;
    size_t block = 255;
};

// A whole file whose image data is the given code stream.
inline Bytes with_codes(const GifPlan& s, const Bytes& codes)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put16(out, s.width);
    put16(out, s.height);
    out.push_back(s.global.empty() ? 0 : static_cast<uint8_t>(0x80 | table_bits(s.global.size() / 3)));
    out.push_back(0);
    out.push_back(0);
    out.insert(out.end(), s.global.begin(), s.global.end());
    out.insert(out.end(), s.before_image.begin(), s.before_image.end());
    out.push_back(0x2C);
    for (int v : {0, 0, s.width, s.height}) put16(out, v);
    uint8_t flags = s.interlaced ? 0x40 : 0;
    if (!s.local.empty()) flags |= static_cast<uint8_t>(0x80 | table_bits(s.local.size() / 3));
    out.push_back(flags);
    out.insert(out.end(), s.local.begin(), s.local.end());
    out.push_back(static_cast<uint8_t>(s.code_size));
    const Bytes blocks = sub_blocks(codes, s.block);
    out.insert(out.end(), blocks.begin(), blocks.end());
    out.push_back(0x3B);
    return out;
}

inline Bytes make(const GifPlan& s)
{
    const Bytes order = s.interlaced ? interlace(s.pixels, s.width, s.height) : s.pixels;
    return with_codes(s, lzw_encode(order, s.code_size, s.lzw));
}

// A palette of `colours` distinct entries.
inline Bytes ramp(int colours, int seed = 0)
{
    Bytes rgb;
    for (int i = 0; i < colours; ++i) {
        rgb.push_back(static_cast<uint8_t>(i + seed));
        rgb.push_back(static_cast<uint8_t>(255 - i));
        rgb.push_back(static_cast<uint8_t>(i * 7 + seed));
    }
    return rgb;
}

// Extension blocks: a label and sub-blocks of the given payload.
inline Bytes extension(uint8_t label, const Bytes& payload, size_t block = 255)
{
    Bytes out = {0x21, label};
    const Bytes blocks = sub_blocks(payload, block);
    out.insert(out.end(), blocks.begin(), blocks.end());
    return out;
}

}  // namespace gifbuild
