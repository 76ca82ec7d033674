#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

#include "app/palette_init.h"
#include "gif_builder.h"
#include "raster/gif.h"
#include "support/work_dir.h"

using gifbuild::Bytes;
using gifbuild::GifPlan;

namespace {

// Recognisable entries, flags bytes included, so any change shows.
Palette marked_palette()
{
    Palette p;
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i ^ 0x5a), static_cast<uint8_t>(255 - i), 7};
    return p;
}

Bytes noise(size_t n, int colours, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes out(n);
    for (uint8_t& b : out) b = static_cast<uint8_t>(rng() % static_cast<uint32_t>(colours));
    return out;
}

GifPlan noisy_spec(int width, int height, int colours, int code_size, uint32_t seed)
{
    GifPlan s;
    s.width = width;
    s.height = height;
    s.pixels = noise(static_cast<size_t>(width) * static_cast<size_t>(height), colours, seed);
    s.global = gifbuild::ramp(colours, static_cast<int>(seed));
    s.code_size = code_size;
    return s;
}

struct Decoded {
    int rc = 0;
    Texture texture;
    Palette palette = marked_palette();
    GifInfo info;
    std::string message;
};

Decoded decode(const Bytes& file)
{
    Decoded d;
    d.texture.pic = {1, 2, 3};
    d.texture.pic_width = 3;
    d.texture.pic_height = 1;
    d.rc = decode_gif(file.data(), file.size(), d.texture, d.palette, d.info, d.message);
    return d;
}

Bytes top_rows(const GifPlan& s)
{
    const int kept = std::min(s.height, s.width / 2);
    return {s.pixels.begin(), s.pixels.begin() + static_cast<long>(kept) * s.width};
}

// The picture, the info and the palette a good file must give.
void expect_decoded(const GifPlan& s, const Decoded& d, const Bytes& table)
{
    ASSERT_EQ(d.rc, 0) << d.info.reason;
    EXPECT_TRUE(d.message.empty());
    EXPECT_EQ(d.texture.pic_width, s.width);
    EXPECT_EQ(d.texture.pic_height, std::min(s.height, s.width / 2));
    EXPECT_EQ(d.texture.pic, top_rows(s));
    EXPECT_EQ(d.info.image_height, s.height);
    EXPECT_EQ(d.info.interlaced, s.interlaced);
    const int colours = static_cast<int>(table.size() / 3);
    EXPECT_EQ(d.info.colours, colours);
    const Palette before = marked_palette();
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = d.palette[static_cast<size_t>(i)];
        const PaletteEntry& b = before[static_cast<size_t>(i)];
        if (i < colours) {
            EXPECT_EQ(e.red, table[3 * static_cast<size_t>(i)]) << i;
            EXPECT_EQ(e.green, table[3 * static_cast<size_t>(i) + 1]) << i;
            EXPECT_EQ(e.blue, table[3 * static_cast<size_t>(i) + 2]) << i;
        } else {
            EXPECT_TRUE(e.red == b.red && e.green == b.green && e.blue == b.blue) << i;
        }
        EXPECT_EQ(e.flags, b.flags) << i;
    }
}

void expect_refused(const Bytes& file, const char* what)
{
    const Decoded d = decode(file);
    EXPECT_EQ(d.rc, -1) << what;
    EXPECT_FALSE(d.info.reason.empty()) << what;
    EXPECT_TRUE(d.message.empty()) << what;
    EXPECT_EQ(d.texture.pic, (Bytes{1, 2, 3})) << what;
    EXPECT_EQ(d.texture.pic_width, 3) << what;
    const Palette before = marked_palette();
    for (size_t i = 0; i < 256; ++i)
        EXPECT_TRUE(d.palette[i].red == before[i].red && d.palette[i].green == before[i].green &&
                    d.palette[i].blue == before[i].blue)
            << what << ": palette entry " << i;
}

struct Size {
    int width, height, colours, code_size;
};

}  // namespace

TEST(Gif, DecodesWhatAnIndependentEncoderWrites)
{
    // Beyond the Pillow and ImageMagick comparisons: 1-row pictures, a
    // picture of 2 pixels, a code size wider than the colours need.
    const Size sizes[] = {{2, 1, 2, 2}, {3, 1, 2, 2}, {9, 100, 32, 5}, {4, 2, 2, 8}};
    uint32_t seed = 1;
    for (const Size& z : sizes) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message() << z.width << "x" << z.height << (interlaced ? " interlaced" : ""));
            GifPlan s = noisy_spec(z.width, z.height, z.colours, z.code_size, seed++);
            s.interlaced = interlaced;
            expect_decoded(s, decode(gifbuild::make(s)), s.global);
        }
    }
}

TEST(Gif, FollowsClearCodesAndAFullTable)
{
    // A noisy picture fills the 4096-entry table many times over: with clear
    // codes when it fills, without any (the table then stays as it is), with
    // early clears, without the leading clear, and in 1-byte sub-blocks.
    struct Variant {
        const char* name;
        gifbuild::LzwOptions lzw;
        size_t block;
    };
    const Variant variants[] = {
        {"clear when full", {true, true, 0}, 255},
        {"no leading clear", {false, true, 0}, 255},
        {"table stays full", {true, false, 0}, 255},
        {"stays full, no leading clear", {false, false, 0}, 200},
        {"clear every 100 codes", {true, true, 100}, 255},
        {"clear after every code", {true, true, 1}, 255},
        {"1-byte sub-blocks", {true, true, 0}, 1},
    };
    for (const Variant& v : variants) {
        for (const Size& z : {Size{400, 200, 4, 2}, Size{301, 151, 256, 8}}) {
            SCOPED_TRACE(testing::Message() << v.name << ", " << z.colours << " colours");
            GifPlan s = noisy_spec(z.width, z.height, z.colours, z.code_size, 77);
            s.lzw = v.lzw;
            s.block = v.block;
            expect_decoded(s, decode(gifbuild::make(s)), s.global);
        }
    }
    // Long runs of one colour exercise codes naming the entry still being built.
    GifPlan runs = noisy_spec(256, 128, 2, 2, 5);
    for (size_t i = 0; i < runs.pixels.size(); ++i) runs.pixels[i] = (i / 5000) % 2;
    runs.lzw.clear_when_full = false;
    expect_decoded(runs, decode(gifbuild::make(runs)), runs.global);
}

TEST(Gif, UsesTheColourTableInUseAndSkipsExtensions)
{
    GifPlan s = noisy_spec(40, 20, 16, 4, 3);
    s.global = gifbuild::ramp(4, 9);
    s.local = gifbuild::ramp(16, 50);
    expect_decoded(s, decode(gifbuild::make(s)), s.local);

    s.global = gifbuild::ramp(16, 9);
    s.local.clear();
    expect_decoded(s, decode(gifbuild::make(s)), s.global);

    // Without any table the palette stays as it was.
    s.global.clear();
    expect_decoded(s, decode(gifbuild::make(s)), {});

    // Graphic control, a comment longer than 16384 bytes, an application
    // extension of two sub-blocks and an empty one, all before the image.
    s.global = gifbuild::ramp(16, 9);
    s.before_image = gifbuild::extension(0xF9, {0x05, 0x00, 0x00, 0x03}, 4);
    const Bytes comment(20000, 'c');
    for (const Bytes& ext : {gifbuild::extension(0xFE, comment),
                             gifbuild::extension(0xFF, Bytes(11 + 3, 1), 11), Bytes{0x21, 0x01, 0x00}})
        s.before_image.insert(s.before_image.end(), ext.begin(), ext.end());
    expect_decoded(s, decode(gifbuild::make(s)), s.global);
}

TEST(Gif, StopsOnceTheKeptRowsAreComplete)
{
    // Only the top 10 of 100 rows are kept; what follows their last code,
    // here bytes no decoder could follow, is never examined.
    GifPlan s = noisy_spec(20, 100, 16, 4, 11);
    Bytes codes = gifbuild::lzw_encode(top_rows(s), s.code_size);
    codes.insert(codes.end(), 50, 0xFF);
    const Decoded d = decode(gifbuild::with_codes(s, codes));
    ASSERT_EQ(d.rc, 0) << d.info.reason;
    EXPECT_EQ(d.texture.pic, top_rows(s));
}

TEST(Gif, RefusesMalformedFilesAndKeepsWhatWasLoaded)
{
    const GifPlan good = noisy_spec(16, 8, 4, 2, 21);
    const Bytes file = gifbuild::make(good);
    auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes f = file;
        for (uint8_t b : bytes) f.at(at++) = b;
        return f;
    };
    const size_t table_end = 13 + 12;     // header and 4-colour table
    const size_t code_size_at = table_end + 10;

    expect_refused({'G', 'I', 'F'}, "signature only");
    expect_refused(patched(0, {'G', 'I', 'G'}), "bad signature");
    expect_refused(patched(12, {49}), "aspect ratio byte not 0");
    expect_refused(patched(table_end, {0x3B}), "trailer before the image");
    expect_refused(patched(table_end + 5, {0x00, 0x00}), "width 0");
    expect_refused(patched(table_end + 5, {0x01, 0x00}), "width 1 keeps no row");
    expect_refused(patched(table_end + 5, {0x00, 0x80}), "width beyond 32767 reads as negative");
    expect_refused(patched(table_end + 7, {0xFF, 0xFF}), "negative height");
    for (uint8_t size : {1, 9}) expect_refused(patched(code_size_at, {size}), "code size out of range");

    // Hand-packed codes, minimum code size 2: clear 4, end 5, first free 6.
    auto codes = [&](std::initializer_list<std::pair<int, int>> list) {
        gifbuild::BitWriter w;
        for (auto [code, width] : list) w.put(code, width);
        return gifbuild::with_codes(good, w.bytes);
    };
    expect_refused(codes({{4, 3}, {6, 3}}), "first code names an entry not yet made");
    expect_refused(codes({{4, 3}, {1, 3}, {7, 3}}), "code beyond the next free code");
    expect_refused(codes({{4, 3}, {5, 3}}), "end code before any pixel");
    expect_refused(codes({{4, 3}, {1, 3}, {2, 3}, {5, 3}}), "end code before the last row");
    expect_refused(codes({{4, 3}, {1, 3}, {2, 3}}), "data ends before the last row");

    // A huge picture whose data cannot fill it is refused up front.
    GifPlan huge = good;
    huge.width = 30000;
    huge.height = 15000;
    expect_refused(gifbuild::with_codes(huge, gifbuild::lzw_encode(good.pixels, 2)), "data far too short");
}

TEST(Gif, RefusesAFileCutAnywhereBeforeTheEndOfItsImageData)
{
    GifPlan s = noisy_spec(24, 12, 8, 3, 31);
    s.interlaced = true;
    s.before_image = gifbuild::extension(0xFE, Bytes(300, 'x'));
    s.local = gifbuild::ramp(8, 3);
    const Bytes file = gifbuild::make(s);
    // The last two bytes are the data terminator and the trailer.
    for (size_t n = 0; n + 1 < file.size(); ++n)
        expect_refused(Bytes(file.begin(), file.begin() + static_cast<long>(n)), "cut file");
    const Bytes no_trailer(file.begin(), file.end() - 1);
    expect_decoded(s, decode(no_trailer), s.local);
}

TEST(Gif, LoadsFilesByTheViewersNames)
{
    WorkDir dir;
    const GifPlan s = noisy_spec(30, 15, 8, 3, 41);
    const Bytes file = gifbuild::make(s);
    std::ofstream("texture.gif", std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                         static_cast<std::streamsize>(file.size()));

    Texture texture;
    Palette palette = marked_palette();
    GifInfo info;
    std::string message = "stale";
    ASSERT_EQ(loadgif("texture", texture, palette, info, message), 0) << info.reason;
    EXPECT_EQ(texture.pic, top_rows(s));
    EXPECT_TRUE(message.empty());

    EXPECT_EQ(loadgif("missing", texture, palette, info, message), -1);
    EXPECT_NE(info.reason.find("missing.gif"), std::string::npos) << info.reason;
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(loadgif("texture.GIF.bak", texture, palette, message), -1) << "a name with a dot is used as given";
    EXPECT_EQ(texture.pic, top_rows(s));
}

TEST(Gif, ShippedGlobeKeepsTheRampsAndALightTextColour)
{
    Texture texture;
    Palette palette;
    build_palette(palette);
    const Palette ramps = palette;
    GifInfo info;
    std::string message;
    ASSERT_EQ(loadgif(GLOBE_SOURCE_DATA_DIR "/globe.gif", texture, palette, info, message), 0) << info.reason;
    EXPECT_EQ(texture.pic_width, 2048);
    EXPECT_EQ(texture.pic_height, 1024);
    EXPECT_LE(info.colours, 64);
    EXPECT_EQ(palette[0].red + palette[0].green + palette[0].blue, 0);
    EXPECT_GE(palette[31].red + palette[31].green + palette[31].blue, 600);
    for (size_t i = 64; i < 256; ++i) EXPECT_EQ(palette[i].blue, ramps[i].blue) << i;
}
