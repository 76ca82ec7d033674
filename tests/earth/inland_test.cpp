#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "earth/inland.h"

namespace {

constexpr int32_t units = 65536;
constexpr double half = units / 2.0;

using Loops = std::vector<std::vector<MapPoint>>;

// inland at a longitude and latitude in angle units (latitude north negative).
int inland_at(const Shore& shore, double lon, double lat)
{
    const double a = lon * M_PI / half, b = lat * M_PI / half;
    return inland(shore, std::sin(a) * std::cos(b), std::sin(b), -std::cos(b) * std::cos(a));
}

Shore shore_of(const Loops& loops)
{
    Shore shore;
    shore_from_loops(units, loops, shore);
    return shore;
}

std::vector<MapPoint> square(int32_t lon, int32_t lat, int32_t r)
{
    auto wrap = [](int32_t l) { return l >= half ? l - units : l < -half ? l + units : l; };
    return {{wrap(lon - r), lat - r}, {wrap(lon + r), lat - r}, {wrap(lon + r), lat + r}, {wrap(lon - r), lat + r}};
}

// Crossings counted over every segment, each taken the short way round, with
// no window and no date-line special case.
int every_segment(const Shore& shore, double lon, double lat)
{
    int result = 0;
    for (size_t a = 0; a < shore.ll.size(); ++a) {
        const MapPoint pa = shore.ll[a];
        const MapPoint pb = shore.ll[static_cast<size_t>(shore.point2[a])];
        const double da = std::remainder(pa.lon - lon, units);
        double step = pb.lon - pa.lon;
        if (step < -half) step += units;
        if (step >= half) step -= units;
        const double db = da + step;
        if ((da < 0) == (db < 0)) continue;
        const double crossing = (pa.lat - lat) + (pb.lat - pa.lat) * (-da / (db - da));
        if (crossing < 0) result ^= 1;
    }
    return result;
}

}  // namespace

TEST(Inland, SquareLoopHoldsItsMiddleOnly)
{
    const Shore shore = shore_of({square(1000, -2000, 10)});
    EXPECT_EQ(inland_at(shore, 1000, -2000), 1);
    EXPECT_EQ(inland_at(shore, 1009.5, -1990.5), 1);
    for (auto [dlon, dlat] : {std::pair{11, 0}, {0, -11}, {11, 11}, {5000, 0}})
        EXPECT_EQ(inland_at(shore, 1000 + dlon, -2000 + dlat), 0) << dlon << " " << dlat;
    // The opposite side of the globe shares the meridian's line but not the loop.
    EXPECT_EQ(inland_at(shore, 1000 - half, -2000), 0);
    EXPECT_EQ(inland(Shore{}, 0, 0, -1), 0);
}

TEST(Inland, LoopAcrossTheDateLineHoldsPointsOnBothSides)
{
    // The only loop there is: both end walks of the sorted index reach all
    // of its points, and each segment must still count once.
    const Shore shore = shore_of({square(32768 - 1, 300, 10)});
    for (double lon : {half - 5, -half + 5, -half, half - 0.25})
        EXPECT_EQ(inland_at(shore, lon, 300), 1) << lon;
    for (double lon : {half - 15, -half + 15, 0.0, 100.0})
        EXPECT_EQ(inland_at(shore, lon, 300), 0) << lon;
    EXPECT_EQ(inland_at(shore, half - 5, 312), 0);
    EXPECT_EQ(inland_at(shore, -half + 5, 288), 0);

    // Also among other land, and with a loop that crosses longitude 0 with
    // wide steps (seen from near the date line it must not count).
    const Shore busy = shore_of({square(32768 - 1, 300, 10), square(0, 300, 5000), square(-20000, 0, 200)});
    EXPECT_EQ(inland_at(busy, half - 5, 300), 1);
    EXPECT_EQ(inland_at(busy, half - 15, 300), 0);
    EXPECT_EQ(inland_at(busy, 4999, 300), 1);
    EXPECT_EQ(inland_at(busy, -20000, 0), 1);
}

TEST(Inland, LakeOnAnIslandIsSea)
{
    const Shore shore = shore_of({square(-5000, 4000, 100), square(-5000, 4000, 20)});
    EXPECT_EQ(inland_at(shore, -5000, 4000), 0);
    EXPECT_EQ(inland_at(shore, -5050, 4000), 1);
    EXPECT_EQ(inland_at(shore, -5000, 4150), 0);
}

TEST(Inland, RingAroundTheSouthPoleHoldsThePole)
{
    std::vector<MapPoint> ring;
    for (int32_t i = 0; i < 64; ++i) ring.push_back({-32768 + i * 1024, 15000 + (i % 3) * 50});
    const Shore shore = shore_of({ring});
    EXPECT_EQ(inland(shore, 0, 1, 0), 1);   // the South Pole (+y)
    EXPECT_EQ(inland(shore, 0, -1, 0), 0);  // the North Pole
    for (double lon : {0.0, 12345.0, -half, half - 1, -30000.0}) {
        EXPECT_EQ(inland_at(shore, lon, 15600), 1) << lon;
        EXPECT_EQ(inland_at(shore, lon, 14000), 0) << lon;
        EXPECT_EQ(inland_at(shore, lon, -15600), 0) << lon;
    }
}

TEST(Inland, PointsOnAVertexMeridianCountZeroAsNonNegative)
{
    // A diamond whose top and bottom vertices lie on the point's meridian:
    // crossed once there, so the inside is land.
    const Shore diamond = shore_of({{{0, -10}, {10, 0}, {0, 10}, {-10, 0}}});
    EXPECT_EQ(inland(diamond, 0.0, std::sin(5 * M_PI / half), -std::cos(5 * M_PI / half)), 1);
    EXPECT_EQ(inland(diamond, 0.0, std::sin(15 * M_PI / half), -std::cos(15 * M_PI / half)), 0);
    EXPECT_EQ(inland(diamond, 0.0, std::sin(-15 * M_PI / half), -std::cos(-15 * M_PI / half)), 0);
    // Triangles touching the meridian at one vertex, from east and west.
    const double y = std::sin(20 * M_PI / half), z = -std::cos(20 * M_PI / half);
    EXPECT_EQ(inland(shore_of({{{0, -20}, {10, -25}, {10, -15}}}), 0.0, y, z), 0);
    EXPECT_EQ(inland(shore_of({{{0, -20}, {-10, -25}, {-10, -15}}}), 0.0, y, z), 0);
}

TEST(Inland, AgreesWithACountOverEverySegment)
{
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> uni(0, 1);
    for (int trial = 0; trial < 6; ++trial) {
        Loops loops;
        for (int l = 0; l < 60; ++l) {
            // Star-shaped loops, some across the date line, some wide.
            const bool near_date_line = l % 3 == 0;
            const double clon = near_date_line ? half - 3000 + uni(rng) * 6000 : (uni(rng) * 2 - 1) * half;
            const double clat = (uni(rng) * 2 - 1) * 12000;
            const double radius = 30 + uni(rng) * (l % 5 == 0 ? 8000 : 800);
            const int corners = 3 + static_cast<int>(rng() % 40);
            std::vector<double> angles;
            for (int c = 0; c < corners; ++c) angles.push_back(uni(rng) * 2 * M_PI);
            std::sort(angles.begin(), angles.end());
            std::vector<MapPoint> loop;
            for (double t : angles) {
                const double r = radius * (0.4 + 0.6 * uni(rng));
                int32_t lon = static_cast<int32_t>(std::lround(clon + r * std::cos(t)));
                if (lon >= half) lon -= units;
                if (lon < -half) lon += units;
                const auto lat = static_cast<int32_t>(std::lround(clat + r * std::sin(t)));
                if (loop.empty() || !(loop.back() == MapPoint{lon, lat})) loop.push_back({lon, lat});
            }
            loops.push_back(loop);
        }
        if (trial % 2) {  // and a ring around the South Pole
            std::vector<MapPoint> ring;
            for (int32_t i = 0; i < 200; ++i) ring.push_back({-32768 + i * 327, 14000 + static_cast<int32_t>(rng() % 900)});
            loops.push_back(ring);
        }
        const Shore shore = shore_of(loops);
        int land = 0;
        for (int i = 0; i < 4000; ++i) {
            const double lon = i % 4 == 0 ? half - uni(rng) * 10000 * (rng() % 2 ? 1 : -1) : (uni(rng) * 2 - 1) * half;
            const double lat = (uni(rng) * 2 - 1) * 16000;
            const double wrapped = lon >= half ? lon - units : lon;
            const int expected = every_segment(shore, wrapped, lat);
            land += expected;
            ASSERT_EQ(inland_at(shore, wrapped, lat), expected) << "trial " << trial << " lon " << wrapped << " lat " << lat;
        }
        EXPECT_GT(land, 40);  // the comparison saw land as well as sea
    }
}
