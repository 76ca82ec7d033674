#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

#include "earth/map_writer.h"
#include "earth/shore.h"
#include "map_files.h"

namespace {

using Loops = std::vector<std::vector<MapPoint>>;

MapUnits units_for(int32_t n)
{
    MapUnits u;
    EXPECT_TRUE(map_units(n, u));
    return u;
}

// A step of the given bit count (0 = no step), random size and sign.
int32_t random_step(std::mt19937& rng, int bits)
{
    if (bits == 0) return 0;
    const int32_t low = int32_t{1} << (bits - 1);
    const int32_t magnitude = low + static_cast<int32_t>(rng() % static_cast<uint32_t>(low));
    return rng() % 2 ? magnitude : -magnitude;
}

// Loops whose steps take every bit width the units allow, cross the date
// line and the poles' neighbourhood, with one-point loops among them.
Loops random_loops(std::mt19937& rng, const MapUnits& u, int loops, int max_points)
{
    Loops out;
    for (int l = 0; l < loops; ++l) {
        MapPoint p{static_cast<int32_t>(rng() % static_cast<uint32_t>(2 * u.half)) - u.half,
                   u.quarter ? static_cast<int32_t>(rng() % static_cast<uint32_t>(2 * u.quarter)) - u.quarter : 0};
        std::vector<MapPoint> loop{p};
        const int points = l % 7 == 0 ? 1 : 1 + static_cast<int>(rng() % static_cast<uint32_t>(max_points));
        while (static_cast<int>(loop.size()) < points) {
            int32_t dx = random_step(rng, static_cast<int>(rng() % static_cast<uint32_t>(u.lonbits + 1)));
            int32_t dy = random_step(rng, static_cast<int>(rng() % static_cast<uint32_t>(u.lonbits)));
            if (std::abs(p.lat + dy) > u.quarter) dy = -dy;
            if (std::abs(p.lat + dy) > u.quarter) dy = 0;
            if (dx == 0 && dy == 0) dx = 1;
            int32_t lon = p.lon + dx;
            if (lon < -u.half) lon += u.units;
            if (lon >= u.half) lon -= u.units;
            // Steps of a whole turn or more, and steps back onto the same point, cannot be written.
            if (lon < -u.half || lon >= u.half || (MapPoint{lon, p.lat + dy} == p)) continue;
            p = {lon, p.lat + dy};
            loop.push_back(p);
        }
        out.push_back(loop);
    }
    return out;
}

void expect_same_points(const Shore& shore, const Loops& loops)
{
    ASSERT_EQ(shore.loopcnt, static_cast<int32_t>(loops.size()));
    size_t k = 0;
    for (size_t l = 0; l < loops.size(); ++l) {
        ASSERT_EQ(shore.loopnum[l], static_cast<int32_t>(loops[l].size()));
        for (const MapPoint& p : loops[l]) {
            ASSERT_EQ(shore.ll[k], p) << "point " << k;
            ++k;
        }
    }
    ASSERT_EQ(shore.pointcnt, static_cast<int32_t>(k));
}

// A shoreline file of known content to show that a refused one changes nothing.
std::vector<uint8_t> good_file()
{
    return encode_shore(4096, {{{0, 0}, {10, 0}, {10, 10}}, {{-2000, -500}}});
}

void expect_refused(const std::vector<uint8_t>& bytes, const char* why)
{
    Shore shore;
    ASSERT_EQ(loadshore_bytes(good_file(), shore), "");
    const Shore before = shore;
    TempFile file("bad_shore", bytes);
    EXPECT_EQ(loadshore(file.path(), shore), "Can't load shore") << why;
    EXPECT_EQ(shore.ll, before.ll) << why;
    EXPECT_EQ(shore.loopnum, before.loopnum) << why;
    EXPECT_EQ(shore.lps.size(), before.lps.size()) << why;
    EXPECT_EQ(shore.shoreunits, before.shoreunits) << why;
}

}  // namespace

TEST(ShoreFile, RandomLoopsRoundTripInEveryUnitSize)
{
    // Steps this wild need more caps than the table holds; the data loads all
    // the same. The first file is longer than several read blocks.
    std::mt19937 rng(1234);
    for (auto [n, loops, points] : {std::tuple{65536, 40, 4000}, {4096, 300, 120}, {4097, 300, 120}, {3, 100, 50},
                                    {1 << 25, 300, 120}, {1000003, 300, 120}}) {
        const Loops made = random_loops(rng, units_for(n), loops, points);
        TempFile file("shore", encode_shore(n, made));
        Shore shore;
        const std::string message = loadshore(file.path(), shore);
        ASSERT_TRUE(message.empty() || message == "Constant LPSALLOC not high enough :(") << n;
        EXPECT_EQ(shore.shoreunits, n);
        expect_same_points(shore, made);
    }
}

TEST(ShorePieces, AFullTableKeepsTheDataAndCoversTheRestWithOneVisibleRecord)
{
    // One-point islands far apart: each needs its own piece.
    auto islands = [](int count) {
        Loops loops;
        for (int i = 0; i < count; ++i) loops.push_back({{i % 2 ? 16000 : -16000, (i % 100) * 10}});
        return loops;
    };
    Shore shore;
    EXPECT_EQ(shore_from_loops(65536, islands(1024), shore), "");  // exactly full
    EXPECT_EQ(shore.lpscnt, 1024);

    EXPECT_EQ(loadshore_bytes(encode_shore(65536, islands(1100)), shore), "Constant LPSALLOC not high enough :(");
    EXPECT_EQ(shore.pointcnt, 1100);
    ASSERT_EQ(shore.lpscnt, lps_records);
    ASSERT_EQ(shore.lps.size(), static_cast<size_t>(lps_records));
    const Piece& rest = shore.lps.back();
    EXPECT_EQ(rest.end, 1100);
    EXPECT_EQ(rest.loop, 1100);
    EXPECT_EQ(rest.cos2, 0.0f);  // visible from everywhere
}

TEST(ShoreFile, MalformedFilesAreRefusedAndThePreviousDataStays)
{
    Shore shore;
    EXPECT_EQ(loadshore("/nonexistent/SHOREX.DAT", shore), "Can't load shore");

    const std::vector<uint8_t> good = good_file();
    expect_refused({good.begin(), good.begin() + 11}, "header cut short");

    auto with_header = [&](int32_t n, int32_t loops, int32_t points) {
        std::vector<uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(n) >> (8 * i));
            bytes[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(loops) >> (8 * i));
            bytes[8 + i] = static_cast<uint8_t>(static_cast<uint32_t>(points) >> (8 * i));
        }
        return bytes;
    };
    expect_refused(with_header(2, 2, 4), "units too few for the fields");
    expect_refused(with_header((1 << 25) + 1, 2, 4), "units too many for the fields");
    expect_refused(with_header(4096, -1, 4), "negative loop count");
    expect_refused(with_header(4096, 5, 4), "more loops than points");
    expect_refused(with_header(4096, 2, 3), "more points than the header says");
    expect_refused(with_header(4096, 2, 5), "fewer points than the header says");
    expect_refused(with_header(4096, 2, 1 << 30), "a count no stream of this size can hold");
    expect_refused({good.begin(), good.end() - 1}, "stream ends early");

    auto table_then = [](auto&& fill) {
        BitWriter w;
        fill(w);
        return map_file({4096, 1, 2}, w);
    };
    expect_refused(table_then([](BitWriter& w) {
        putbits(w, 1, 5);
        putbits(w, 27, 5);
        for (int i = 0; i < 27; ++i) putbits(w, 1, 5);
    }), "27 rows of code lengths");
    expect_refused(table_then([](BitWriter& w) { put_lengths(w, {{0, 1}, {1, 26}}); }), "code of 26 bits");
    expect_refused(table_then([](BitWriter& w) { put_lengths(w, {{0, 1}, {1, 1}, {2, 1}}); }), "over-full code");
    expect_refused(table_then([](BitWriter& w) {
        put_lengths(w, {{0, 1}});
        putbits(w, 2048, 12);
        putbits(w, 1024, 11);
        put_code(w, "1");  // no symbol has this code
        putbits(w, 0, 16);
    }), "bits that are no code");
    expect_refused(table_then([](BitWriter& w) {
        put_lengths(w, {{0, 1}, {27, 1}});
        putbits(w, 2048, 12);
        putbits(w, 1024, 11);
        put_code(w, "1");  // an x magnitude of 27 bits
        putbits(w, 0, 30);
        put_code(w, "0");
    }), "magnitude field wider than 25 bits");
    expect_refused(table_then([](BitWriter& w) {
        put_lengths(w, {{0, 1}, {64, 1}});
        putbits(w, 2048, 12);
        putbits(w, 1024 + 1023, 11);  // lat 1023, the pole is 1024
        put_code(w, "1");             // +2 in y
        putbits(w, 0, 1);
        putbits(w, 0, 1);
        put_code(w, "0");
    }), "step beyond the pole");
    {
        BitWriter w;
        put_lengths(w, {{0, 1}});
        putbits(w, 5000, 13);  // N = 4097: a longitude field of N or more
        putbits(w, 1024, 12);
        put_code(w, "0");
        expect_refused(map_file({4097, 1, 1}, w), "first longitude beyond the turn");
    }
}
