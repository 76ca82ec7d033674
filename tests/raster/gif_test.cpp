#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "raster/gif.h"
#include "raster/lzw.h"

// What Pillow and ImageMagick decode is compared in test_gif.py; here are the
// refusals, cuts and boundaries no other decoder can be asked about.

namespace {

using Bytes = std::vector<uint8_t>;

Bytes corpus(const std::string& name)
{
    std::ifstream in(GLOBE_TEST_DIR "/../fuzz/corpus/gif/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Recognisable entries, flags bytes included, so any change shows.
Palette marked_palette()
{
    Palette p;
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i ^ 0x5a), static_cast<uint8_t>(255 - i), 7};
    return p;
}

// Entries from the first given on, flags bytes included.
bool same_palette(const Palette& a, const Palette& b, size_t from = 0)
{
    return std::memcmp(a.data() + from, b.data() + from, (a.size() - from) * sizeof(PaletteEntry)) == 0;
}

struct Decoded {
    Result result;
    Texture texture{{1, 2, 3}, 3, 1};
    Palette palette = marked_palette();
    GifInfo info;
};

// The first n bytes of file; the rest stays in memory behind them, so a read
// past the end would find the real continuation.
Decoded decode(const Bytes& file, size_t n = SIZE_MAX)
{
    Decoded d;
    d.result = decode_gif(file.data(), std::min(n, file.size()), d.texture, d.palette, d.info);
    return d;
}

void expect_refused(const Decoded& d, const std::string& why, const std::string& what)
{
    EXPECT_EQ(d.result.kind, Result::Kind::failed) << what;
    EXPECT_NE(d.result.reason.find(why), std::string::npos) << what << ": " << d.result.reason;
    EXPECT_EQ(d.texture.pic, (Bytes{1, 2, 3})) << what;
    EXPECT_EQ(d.texture.pic_width, 3) << what;
    EXPECT_TRUE(same_palette(d.palette, marked_palette())) << what;
}

// Code size 2 and codes of the given widths, least significant bit first,
// in one sub-block; then the trailer.
Bytes packed(std::initializer_list<std::pair<int, int>> codes, Bytes out = {})
{
    out.push_back(2);
    const size_t start = out.size();
    int bits = 0;
    for (auto [code, width] : codes)
        for (int i = 0; i < width; ++i, ++bits) {
            if (bits % 8 == 0) out.push_back(0);
            out.back() |= static_cast<uint8_t>((code >> i & 1) << bits % 8);
        }
    out.insert(out.begin() + static_cast<long>(start), static_cast<uint8_t>(out.size() - start));
    out.insert(out.end(), {0x00, 0x3B});
    return out;
}

}  // namespace

TEST(Gif, RefusesMalformedFilesAndKeepsWhatWasLoaded)
{
    // 13 x 6 with an 8-colour global table: the image descriptor at 37, its
    // code size byte at 47.
    const Bytes good = corpus("odd_width.gif");
    ASSERT_EQ(good.size(), 119u);
    ASSERT_TRUE(decode(good).result.ok());
    // What, where, the bytes put there, whether the file ends after them, and why it is refused.
    const std::tuple<const char*, size_t, Bytes, bool, const char*> patches[] = {
        {"bad signature", 0, {'G', 'I', 'G'}, false, "not a GIF"}, {"aspect ratio not 0", 12, {49}, false, "aspect"},
        {"trailer before the image", 37, {0x3B}, false, "no image"}, {"width 0", 42, {0, 0}, false, "2 pixels"},
        {"width 1 keeps no row", 42, {1, 0}, false, "2 pixels"}, {"negative height", 44, {255, 255}, false, "2 pixels"},
        {"width beyond 32767 reads as negative", 42, {0x00, 0x80}, false, "2 pixels"},
        {"code size 1", 47, {1}, true, "code size"}, {"code size 9", 47, {9}, true, "code size"},
        // Code size 2: clear 4, end 5, first free 6.
        {"first code names an entry not yet made", 47, packed({{4, 3}, {6, 3}}), true, "beyond"},
        {"code beyond the next free code", 47, packed({{4, 3}, {1, 3}, {7, 3}}), true, "beyond"},
        {"end code before any pixel", 47, packed({{4, 3}, {5, 3}}), true, "ends"},
        {"end code before the last row", 47, packed({{4, 3}, {1, 3}, {2, 3}, {5, 3}}), true, "ends"},
        {"data ends before the last row", 47, packed({{4, 3}, {1, 3}, {2, 3}}), true, "ends"},
        // 4000 x 2000 from two codes is refused before the picture is made,
        // not at the second code's error.
        {"data far too short", 42, packed({{4, 3}, {7, 3}}, {0xA0, 0x0F, 0xD0, 0x07, 0}), true, "ends"},
    };
    for (const auto& [what, at, bytes, ends, why] : patches) {
        Bytes file = good;
        file.resize(std::max(file.size(), at + bytes.size()));
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<long>(at));
        if (ends) file.resize(at + bytes.size());
        expect_refused(decode(file), why, what);
    }

    // The decoder repeats the layout checks for any other caller, on data
    // that fills 4 x 2 pixels (a clear code before each, then the end).
    const LzwData data{2, {0x04, 0x41, 0x10, 0x04, 0x41, 0x10, 0x05}};
    uint8_t pic[16];
    EXPECT_EQ(lzw_decode(data, PictureLayout{4, 2, 2}, pic), nullptr);
    // Three whole bytes hold four pixels: a fifth is not made up from beyond them.
    EXPECT_NE(lzw_decode({2, {0x04, 0x41, 0x10}}, PictureLayout{5, 1, 1}, pic), nullptr);
    EXPECT_EQ(lzw_decode({2, {0x04, 0x41, 0x10}}, PictureLayout{4, 1, 1}, pic), nullptr);
    for (const auto& [code_size, layout] : {std::pair{1, PictureLayout{4, 2, 2}}, {9, PictureLayout{4, 2, 2}},
                                            {2, PictureLayout{0, 2, 1}}, {2, PictureLayout{4, 2, 0}},
                                            {2, PictureLayout{4, 1, 2}}})
        EXPECT_NE(lzw_decode({code_size, data.bytes}, layout, pic), nullptr) << code_size;
}

TEST(Gif, RefusesEveryFileCutBeforeTheEndOfItsImageData)
{
    for (const char* name : {"tiny.gif", "odd_width.gif", "local_table.gif", "interlaced.gif", "extensions.gif",
                             "tall.gif", "magick.gif"}) {
        const Bytes file = corpus(name);
        const Decoded whole = decode(file);
        ASSERT_TRUE(whole.result.ok()) << name << ": " << whole.result.reason;
        // The last two bytes are the data terminator and the trailer.
        for (size_t n = 0; n + 1 < file.size(); ++n)
            expect_refused(decode(file, n), "", std::string(name) + " cut at " + std::to_string(n));
        const Decoded no_trailer = decode(file, file.size() - 1);
        EXPECT_TRUE(no_trailer.result.ok()) << name;
        EXPECT_EQ(no_trailer.texture.pic, whole.texture.pic) << name;
    }
}

// The colours of the table in use are compared with Pillow's; the entries
// beyond it, and every flags byte, stay as they were, also with no table.
TEST(Gif, ReplacesOnlyThePaletteEntriesOfTheTableInUse)
{
    const Bytes with_table = corpus("odd_width.gif");  // 8 colours
    Bytes without(with_table.begin(), with_table.begin() + 13);
    without[10] = 0;
    without.insert(without.end(), with_table.begin() + 37, with_table.end());
    for (const auto& [file, colours] : {std::pair{with_table, 8}, {without, 0}}) {
        const Decoded d = decode(file);
        ASSERT_TRUE(d.result.ok()) << d.result.reason;
        EXPECT_EQ(d.info.colours, colours);
        EXPECT_TRUE(same_palette(d.palette, marked_palette(), size_t(colours)));
        for (const PaletteEntry& e : d.palette) EXPECT_EQ(e.flags, 7);
    }
}
