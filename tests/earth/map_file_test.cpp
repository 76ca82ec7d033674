// Shoreline and border files: unit sizes the shipped files do not use, and
// refusals that keep what was loaded before (test_map_tool.py checks the
// decoding of the shipped files).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "app/load_messages.h"
#include "earth/borders.h"
#include "earth/huffman.h"
#include "earth/fill_geometry.h"
#include "earth/map_writer.h"
#include "earth/shore.h"

namespace {

using Loops = std::vector<std::vector<MapPoint>>;
const std::string corpus = GLOBE_TEST_DIR "/../fuzz/corpus/";

std::vector<uint8_t> file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A file of header fields, a code table giving each listed symbol its
// length (none: no table), then (value, bit count) fields.
std::vector<uint8_t> stream(std::initializer_list<int32_t> header, std::initializer_list<std::pair<int, int>> lengths,
                            std::initializer_list<std::pair<uint32_t, int>> fields)
{
    BitWriter w;
    HuffCode code;
    for (auto [s, len] : lengths) code.len[static_cast<size_t>(s)] = static_cast<uint8_t>(len);
    if (lengths.size()) write_code_lengths(w, code);
    for (auto [value, n] : fields) putbits(w, value, n);
    std::vector<uint8_t> bytes;
    for (int32_t field : header) write_le32(bytes, field);
    bytes.insert(bytes.end(), w.bytes.begin(), w.bytes.end());
    return bytes;
}

// Random loops whose steps take every bit width the units allow, cross the
// date line and reach the poles, one-point loops among them.
Loops random_loops(std::mt19937& rng, const MapUnits& u)
{
    auto below = [&](int32_t n) { return n > 0 ? static_cast<int32_t>(rng() % static_cast<uint32_t>(n)) : 0; };
    auto step = [&](int bits) {
        const int32_t low = bits ? int32_t{1} << (bits - 1) : 0, magnitude = low + below(low);
        return rng() % 2 ? magnitude : -magnitude;
    };
    Loops out;
    for (int l = 0; l < 300; ++l) {
        MapPoint p{below(2 * u.half) - u.half, below(2 * u.quarter + 1) - u.quarter};
        out.push_back({p});
        for (int i = l % 7 ? below(120) : 0; i > 0; --i) {
            int32_t lon = p.lon + step(below(u.lonbits + 1));
            lon += lon < -u.half ? u.units : lon >= u.half ? -u.units : 0;
            const MapPoint q{lon, std::clamp(p.lat + step(below(u.lonbits)), -u.quarter, u.quarter)};
            // Steps of a whole turn or more, and steps onto the same point, cannot be written.
            if (lon >= -u.half && lon < u.half && !(q == p)) out.back().push_back(p = q);
        }
    }
    return out;
}

// Loads a fuzz seed, then bytes that must be refused: nothing may change.
void expect_refused(bool shore_file, const std::vector<uint8_t>& bytes, const std::string& why)
{
    Shore shore;
    Borders borders;
    ASSERT_EQ(loadshore(corpus + "shore/small", shore).kind, Result::Kind::done);
    ASSERT_EQ(loadbords(corpus + "bords/small", borders).kind, Result::Kind::done);
    const Shore shore_before = shore;
    const Borders borders_before = borders;
    const Result loaded = shore_file ? loadshore_bytes(bytes, shore) : loadbords_bytes(bytes, borders);
    EXPECT_EQ(load_message(shore_file ? DataFile::shore : DataFile::borders, loaded),
              shore_file ? "Can't load shore" : "Can't load bords") << why;
    EXPECT_EQ(loaded.reason, "its data are damaged or cut short") << why;
    EXPECT_EQ(shore.ll, shore_before.ll) << why;
    EXPECT_EQ(shore.loopnum, shore_before.loopnum) << why;
    EXPECT_EQ(shore.lps.size(), shore_before.lps.size()) << why;
    EXPECT_EQ(borders.polineto, borders_before.polineto) << why;
    ASSERT_EQ(borders.polv.size(), borders_before.polv.size()) << why;
    for (size_t i = 0; i < borders.polv.size(); ++i) EXPECT_EQ(borders.polv[i].y, borders_before.polv[i].y) << why;
}

std::vector<uint8_t> with_header(const char* seed, std::initializer_list<int32_t> header)
{
    std::vector<uint8_t> bytes = file_bytes(corpus + seed), fields;
    for (int32_t field : header) write_le32(fields, field);
    std::copy(fields.begin(), fields.end(), bytes.begin());
    return bytes;
}

// The pieces follow one another from point 0 to the last point, each names
// the loop its end falls in, and every point lies in its piece's cap (the
// record that takes the rest of a full table has an empty axis and holds all).
void expect_pieces_cover(const Shore& shore)
{
    ASSERT_EQ(shore.lps.empty(), shore.pointcnt() == 0);
    std::vector<int32_t> loop_of(static_cast<size_t>(shore.pointcnt()) + 1, shore.loopcnt());
    std::vector<int32_t> loop_end_of(loop_of.size(), shore.pointcnt());
    for (int32_t l = 0, first = 0; l < shore.loopcnt(); first += shore.loopnum[static_cast<size_t>(l++)])
        for (int32_t i = first; i < first + shore.loopnum[static_cast<size_t>(l)]; ++i) {
            loop_of[static_cast<size_t>(i)] = l;
            loop_end_of[static_cast<size_t>(i)] = first + shore.loopnum[static_cast<size_t>(l)];
        }
    int32_t start = 0;
    for (const Piece& p : shore.lps) {
        ASSERT_GT(p.end, start);
        EXPECT_EQ(p.loop, loop_of[static_cast<size_t>(p.end)]);
        EXPECT_EQ(p.loop_end, loop_end_of[static_cast<size_t>(p.end)]);
        for (int32_t i = start; i < p.end; ++i) {
            const Vec3f& v = shore.v[static_cast<size_t>(i)];
            EXPECT_GE(v.x * p.q[0] + v.y * p.q[1] + v.z * p.q[2], p.cos2 * (1 - 1e-6f)) << i;
        }
        start = p.end;
    }
    EXPECT_EQ(start, shore.pointcnt());
}

}  // namespace

TEST(ShoreFile, RandomLoopsRoundTripInEveryUnitSize)
{
    // Steps this wild need more pieces than the table holds; the data load all the same.
    std::mt19937 rng(1234);
    for (int32_t n : {3, 4096, 4097, 1000003, 1 << 25}) {
        MapUnits units;
        ASSERT_TRUE(map_units(n, units));
        const Loops made = random_loops(rng, units);
        Shore shore;
        ASSERT_TRUE(loadshore_bytes(encode_shore(n, made), shore).ok()) << n;
        std::vector<MapPoint> points;
        std::vector<int32_t> sizes;
        for (const auto& loop : made) {
            points.insert(points.end(), loop.begin(), loop.end());
            sizes.push_back(static_cast<int32_t>(loop.size()));
        }
        EXPECT_EQ(shore.ll, points) << n;
        EXPECT_EQ(shore.loopnum, sizes) << n;
        expect_pieces_cover(shore);
    }
    // One point alone, and no loops at all: files the writer makes and the loader takes.
    for (const Loops& loops : {Loops{{{0, 0}}}, Loops{}}) {
        Shore shore;
        ASSERT_TRUE(loadshore_bytes(encode_shore(4096, loops), shore).ok()) << loops.size();
        EXPECT_EQ(shore.loopcnt(), static_cast<int64_t>(loops.size()));
        expect_pieces_cover(shore);
    }
}

// A loop's first point and a point it steps to must lie in [-half, half)
// of longitude and within a quarter turn of latitude, as the loader reads
// them; the writer refuses anything else rather than wrap it silently.
TEST(ShoreFile, TheWriterTakesExactlyTheRangeTheLoaderReads)
{
    for (int32_t n : {4096, 4097}) {
        MapUnits u;
        ASSERT_TRUE(map_units(n, u));
        const struct {
            MapPoint to;
            bool taken;
        } cases[] = {{{-u.half, 0}, true},      {{u.half - 1, 0}, true}, {{u.half, 0}, false},
                     {{-u.half - 1, 0}, false}, {{0, u.quarter}, true},  {{0, -u.quarter}, true},
                     {{0, u.quarter + 1}, false}, {{0, -u.quarter - 1}, false}};
        for (const auto& c : cases) {
            // A first point's latitude field is a bit narrower than its
            // longitude's, so with a power of two of units it cannot hold the
            // north pole.
            const bool pole_unheld = c.to.lat == u.quarter && (n & (n - 1)) == 0;
            for (const auto& [loop, taken] :
                 {std::pair{Loops{{c.to, {0, 0}}}, c.taken && !pole_unheld}, {Loops{{{0, 0}, c.to, {0, 0}}}, c.taken}}) {
                if (!taken) {
                    EXPECT_THROW(encode_shore(n, loop), std::invalid_argument) << n << " " << c.to.lon << "," << c.to.lat;
                    continue;
                }
                Shore shore;
                ASSERT_TRUE(loadshore_bytes(encode_shore(n, loop), shore).ok()) << n << " " << c.to.lon << "," << c.to.lat;
                EXPECT_EQ(shore.ll, loop[0]) << n;
            }
        }
    }
}

// Units of 2^k + 1 take k + 1 bits for a first point's longitude: 4097
// units, 13 bits and 12 for the latitude.
TEST(ShoreFile, FieldWidthsFollowTheUnits)
{
    Shore shore;
    ASSERT_EQ(loadshore_bytes(stream({4097, 1, 1}, {{0, 1}}, {{3000, 13}, {1024, 12}, {0, 1}}), shore).kind,
              Result::Kind::done);
    EXPECT_EQ(shore.ll, (std::vector<MapPoint>{{952, 0}}));
}

TEST(ShorePieces, AFullTableKeepsTheDataAndCoversTheRestWithOneVisibleRecord)
{
    // One-point islands far apart: each needs its own piece.
    Loops islands;
    for (int i = 0; i < 1100; ++i) islands.push_back({{i % 2 ? 16000 : -16000, (i % 100) * 10}});
    Shore shore;
    EXPECT_EQ(shore_from_loops(65536, {islands.begin(), islands.begin() + 1024}, shore).kind,
              Result::Kind::done);  // exactly full
    EXPECT_EQ(shore.lpscnt(), 1024);
    const Result full = loadshore_bytes(encode_shore(65536, islands), shore);
    EXPECT_EQ(full.kind, Result::Kind::warned);
    EXPECT_EQ(load_message(DataFile::shore, full), "Constant LPSALLOC not high enough :(");
    EXPECT_EQ(shore.pointcnt(), 1100);
    ASSERT_EQ(shore.lps.size(), static_cast<size_t>(lps_records));
    EXPECT_EQ(shore.lps.back().end, 1100);
    EXPECT_EQ(shore.lps.back().loop, 1100);
    expect_pieces_cover(shore);
    // The last record is seen from every side, so the walk never leaves its points out.
    for (const Vec3& eye : {Vec3{2, 0, 0}, {-2, 0, 0}, {0, 1.01, 0}, {0, -3, 0}, {0, 0, 1.5}, {0, 0, -2}}) {
        Camera view;
        view.viewpos = eye;
        EXPECT_TRUE(piece_visible(fill_geometry(view, false), shore.lps.back())) << eye.x << eye.y << eye.z;
    }
}

TEST(MapFiles, MalformedFilesAreRefusedAndThePreviousDataStay)
{
    Shore shore;
    Borders borders;
    EXPECT_EQ(load_message(DataFile::shore, loadshore("/nonexistent/SHOREX.DAT", shore)), "Can't load shore");
    EXPECT_EQ(load_message(DataFile::borders, loadbords("/nonexistent/BORDX.DAT", borders)), "Can't load bords");
    for (const char* seed : {"shore/small", "shore/pole_ring", "bords/small", "bords/excerpt"}) {
        const std::vector<uint8_t> whole = file_bytes(corpus + seed);
        for (size_t size = 0; size < whole.size(); ++size)
            expect_refused(seed[0] == 's', {whole.begin(), whole.begin() + static_cast<ptrdiff_t>(size)}, seed);
    }
    // shore/small has 4096 units, 3 loops and 8 points; bords/small 6 points.
    expect_refused(true, with_header("shore/small", {2, 3, 8}), "units too few for the fields");
    expect_refused(true, with_header("shore/small", {(1 << 25) + 1, 3, 8}), "units too many for the fields");
    expect_refused(true, with_header("shore/small", {4096, -1, 8}), "negative loop count");
    expect_refused(true, with_header("shore/small", {4096, 9, 8}), "more loops than points");
    expect_refused(true, with_header("shore/small", {4096, 3, 7}), "more points than the header says");
    expect_refused(true, with_header("shore/small", {4096, 3, 9}), "fewer points than the header says");
    expect_refused(true, with_header("shore/small", {4096, 3, 1 << 30}), "a count no stream can hold");
    expect_refused(false, with_header("bords/small", {4096, 7}), "more points than the stream holds");
    expect_refused(false, with_header("bords/small", {4096, 0x7FFFFFFF}), "a count no stream can hold");
    expect_refused(false, with_header("bords/small", {2, 6}), "units too few for the fields");

    // One-point loops at (0, 0): 12 + 11 bits, then code "0" ends the loop.
    const std::pair<uint32_t, int> origin[] = {{2048, 12}, {1024, 11}}, no_lengths = {0, 26};
    expect_refused(true, stream({4096, 1, 1}, {}, {{1, 5}, {27, 5}, {1, 5}, no_lengths, no_lengths, no_lengths,
                                                   no_lengths, no_lengths, origin[0], origin[1], {0, 1}}),
                   "27 rows of lengths");
    expect_refused(true, stream({4096, 1, 2}, {{0, 1}, {1, 26}}, {origin[0], origin[1], {0, 1}}), "code of 26 bits");
    expect_refused(true, stream({4096, 1, 1}, {{0, 1}, {1, 1}, {2, 1}}, {origin[0], origin[1], {0, 1}}),
                   "over-full code, the rest whole");
    expect_refused(true, stream({4096, 1, 2}, {{0, 1}}, {origin[0], origin[1], {1, 1}, {0, 16}}), "no code");
    expect_refused(true, stream({4096, 1, 2}, {{0, 1}, {27, 1}}, {origin[0], origin[1], {1, 1}, {0, 31}}),
                   "magnitude field wider than 25 bits");
    // Latitude 1023, the pole is 1024, then +2 in y.
    expect_refused(true, stream({4096, 1, 2}, {{0, 1}, {64, 1}}, {origin[0], {2047, 11}, {1, 1}, {0, 3}}),
                   "step beyond the pole");
    expect_refused(true, stream({4097, 1, 1}, {{0, 1}}, {{5000, 13}, {1024, 12}, {0, 1}}), "longitude beyond the turn");
    expect_refused(false, stream({4096, 2}, {{0, 1}, {1, 1}}, {{1, 1}, {0, 2}, origin[0], origin[1]}), "step first");
    // The widest table and the longest code the format allows load.
    EXPECT_EQ(loadshore_bytes(stream({4096, 1, 1}, {{0, 1}, {25 * 32, 25}}, {origin[0], origin[1], {0, 1}}), shore).kind, Result::Kind::done);
    EXPECT_EQ(shore.ll, (std::vector<MapPoint>{{0, 0}}));
}
