// Boundaries of the point-in-land test that sampling the shipped shorelines
// against Shapely (test_inland_shapely.py) cannot reach.
#include "earth/inland.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double half = 32768;

Shore shore_of(const std::vector<std::vector<MapPoint>>& loops)
{
    Shore shore;
    shore_from_loops(65536, loops, shore);
    return shore;
}

// inland at a longitude and latitude in angle units (latitude north negative).
int inland_at(const Shore& shore, double lon, double lat)
{
    const double a = lon * M_PI / half, b = lat * M_PI / half;
    return inland(shore, std::sin(a) * std::cos(b), std::sin(b), -std::cos(b) * std::cos(a));
}

}  // namespace

TEST(Inland, VerticesOnThePointsMeridianAndTheDateLine)
{
    // A diamond whose top and bottom vertices lie on the point's meridian is
    // crossed once there; triangles touching it at one vertex, not at all.
    const Shore diamond = shore_of({{{0, -10}, {10, 0}, {0, 10}, {-10, 0}}});
    EXPECT_EQ(inland_at(diamond, 0, 5), 1);
    EXPECT_EQ(inland_at(diamond, 0, 15), 0);
    EXPECT_EQ(inland_at(diamond, 0, -15), 0);
    EXPECT_EQ(inland_at(shore_of({{{0, -20}, {10, -25}, {10, -15}}}), 0, 20), 0);
    EXPECT_EQ(inland_at(shore_of({{{0, -20}, {-10, -25}, {-10, -15}}}), 0, 20), 0);
    EXPECT_EQ(inland(Shore{}, 0, 0, -1), 0);

    // The only loop, across the date line: both end walks of the sorted
    // index reach all of its points, and each segment still counts once;
    // the opposite meridian shares the line but not the loop.
    const Shore wide = shore_of({{{32758, 290}, {-32758, 290}, {-32758, 310}, {32758, 310}}});
    for (double lon : {half - 5, -half + 5, -half, half - 0.25}) EXPECT_EQ(inland_at(wide, lon, 300), 1) << lon;
    for (double lon : {half - 15, -half + 15, 0.0, 100.0}) EXPECT_EQ(inland_at(wide, lon, 300), 0) << lon;
    EXPECT_EQ(inland_at(wide, half - 5, 312), 0);

    // Edges more than a quarter turn long but under half a turn do not cross
    // the date line, and reach points within the date line's margin from
    // across longitude 0; the same loop shifted half a turn wraps instead.
    for (const int32_t shift : {0, 32768}) {
        const auto at = [&](int32_t lon, int32_t lat) { return MapPoint{(lon + shift + 32768) % 65536 - 32768, lat}; };
        const Shore broad = shore_of({{at(-12000, 100), at(12000, 100), at(12000, 300), at(-12000, 300)}});
        for (const double lon : {0.0, 3000.0, 11000.0, -11990.0}) {
            const double shifted = std::remainder(lon + shift, 65536);
            EXPECT_EQ(inland_at(broad, shifted, 200), 1) << shifted;
            EXPECT_EQ(inland_at(broad, shifted, 50), 0) << shifted;
            EXPECT_EQ(inland_at(broad, shifted, 400), 0) << shifted;
        }
        for (const double lon : {13000.0, -13000.0, half - 1, -half})
            EXPECT_EQ(inland_at(broad, std::remainder(lon + shift, 65536), 200), 0) << lon << " + " << shift;
    }
}
