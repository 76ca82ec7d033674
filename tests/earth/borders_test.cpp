#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "earth/borders.h"
#include "earth/map_writer.h"
#include "earth/shore.h"
#include "map_files.h"

namespace {

using Lines = std::vector<std::vector<MapPoint>>;

// The unit vector of a border point, from longitude and latitude in turns
// (north positive: towards -y).
void expect_vector(const Vec3f& v, double lon_turns, double lat_turns)
{
    const double lon = lon_turns * 2 * M_PI, lat = lat_turns * 2 * M_PI;
    EXPECT_NEAR(v.x, std::sin(lon) * std::cos(lat), 1e-6);
    EXPECT_NEAR(v.y, -std::sin(lat), 1e-6);
    EXPECT_NEAR(v.z, -std::cos(lat) * std::cos(lon), 1e-6);
}

std::vector<uint8_t> good_file()
{
    return encode_bords(4096, {{{0, 0}, {10, 0}}, {{100, 100}}});
}

void expect_refused(const std::vector<uint8_t>& bytes, const char* why)
{
    Borders borders;
    ASSERT_EQ(loadbords_bytes(good_file(), borders), "");
    TempFile file("bad_bords", bytes);
    EXPECT_EQ(loadbords(file.path(), borders), "Can't load bords") << why;
    EXPECT_EQ(borders.polcnt, 3) << why;
    ASSERT_EQ(borders.polv.size(), 3u) << why;
    EXPECT_EQ(borders.polineto, (std::vector<uint8_t>{0b101})) << why;
    expect_vector(borders.polv[1], 10.0 / 4096, 0);
}

}  // namespace

TEST(BorderFile, RandomPolylinesRoundTrip)
{
    std::mt19937 rng(5);
    const int32_t n = 65536;
    Lines lines;
    size_t points = 0;
    for (int l = 0; l < 3000; ++l) {
        MapPoint p{static_cast<int32_t>(rng() % 65536) - 32768, static_cast<int32_t>(rng() % 32000) - 16000};
        std::vector<MapPoint> line{p};
        const int count = l % 5 == 0 ? 1 : 1 + static_cast<int>(rng() % 40);
        while (static_cast<int>(line.size()) < count) {
            const int bits = static_cast<int>(rng() % 16);
            const int32_t dx = bits ? static_cast<int32_t>((1u << bits) - 1 - rng() % (1u << (bits - 1))) : 0;
            const int32_t dy = static_cast<int32_t>(rng() % 201) - 100;
            if (dx == 0 && dy == 0) continue;
            int32_t lon = p.lon + (rng() % 2 ? dx : -dx);
            if (lon < -32768) lon += n;
            if (lon >= 32768) lon -= n;
            p = {lon, std::clamp(p.lat + dy, -16384, 16384)};
            if (p == line.back()) continue;
            line.push_back(p);
        }
        points += line.size();
        lines.push_back(line);
    }
    const std::vector<uint8_t> bytes = encode_bords(n, lines);
    ASSERT_GT(bytes.size(), 16384u);
    TempFile file("bords", bytes);
    Borders borders;
    ASSERT_EQ(loadbords(file.path(), borders), "");
    ASSERT_EQ(borders.polcnt, static_cast<int32_t>(points));
    int32_t k = 0;
    for (const auto& line : lines)
        for (size_t i = 0; i < line.size(); ++i, ++k) {
            ASSERT_EQ(starts_polyline(borders, k), i == 0) << k;
            const Vec3f v = borders.polv[static_cast<size_t>(k)];
            ASSERT_NEAR(v.y, -std::sin(line[i].lat * M_PI / 32768), 1e-6) << k;
            ASSERT_NEAR(v.x, std::sin(line[i].lon * M_PI / 32768) * std::cos(line[i].lat * M_PI / 32768), 1e-6) << k;
        }
}

TEST(BorderFile, MalformedFilesAreRefusedAndThePreviousDataStays)
{
    Borders borders;
    EXPECT_EQ(loadbords("/nonexistent/BORDX.DAT", borders), "Can't load bords");

    const std::vector<uint8_t> good = good_file();
    expect_refused({good.begin(), good.begin() + 7}, "header cut short");
    expect_refused({good.begin(), good.end() - 1}, "stream ends early");
    std::vector<uint8_t> more = good;
    more[4] = 4;
    expect_refused(more, "more points than the stream holds");
    more[4] = 0xFF;
    more[7] = 0x7F;
    expect_refused(more, "a count no stream of this size can hold");
    std::vector<uint8_t> units = good;
    units[0] = 2;
    units[1] = 0;
    expect_refused(units, "units too few for the fields");

    BitWriter step_first;
    put_lengths(step_first, {{0, 1}, {1, 1}});
    put_code(step_first, "1");  // a step with nothing to step from
    putbits(step_first, 0, 1);
    put_code(step_first, "0");
    putbits(step_first, 2048, 12);
    putbits(step_first, 1024, 11);
    expect_refused(map_file({4096, 2}, step_first), "first record is a step");
}
