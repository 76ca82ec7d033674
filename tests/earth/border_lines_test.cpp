#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "earth/border_lines.h"
#include "support/test_frame.h"

namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;  // (x, y)

// Looking at longitude 0 on the equator from dist Earth radii, 200 x 200
// pixels with a 90 degree field of view.
Camera facing(double dist)
{
    Camera view;
    view.viewpos = {0, 0, -dist};
    view.viewright = {1, 0, 0};
    view.viewdown = {0, 1, 0};
    view.viewfwd = {0, 0, 1};
    view.zoom = 200;
    view.zoom_half = 100;
    view.xres_half = 100;
    view.yres_half = 100;
    return view;
}

// Polylines of (longitude, latitude) in degrees, north positive.
Borders borders_of(const std::vector<std::vector<std::pair<double, double>>>& lines)
{
    Borders b;
    for (const auto& line : lines)
        for (size_t i = 0; i < line.size(); ++i) {
            const double lon = line[i].first * M_PI / 180, lat = line[i].second * M_PI / 180;
            if (b.polcnt % 8 == 0) b.polineto.push_back(0);
            if (i == 0) b.polineto.back() |= static_cast<uint8_t>(1u << (b.polcnt % 8));
            b.polv.push_back({static_cast<float>(std::sin(lon) * std::cos(lat)), static_cast<float>(-std::sin(lat)),
                              static_cast<float>(-std::cos(lat) * std::cos(lon))});
            ++b.polcnt;
        }
    return b;
}

Pixels drawn(const TestFrame& f)
{
    Pixels p;
    for (int32_t y = 0; y < f.frame.frame_yres; ++y)
        for (int32_t x = 0; x < f.frame.frame_xres; ++x)
            if (f.at(x, y) == border_colour) p.insert({x, y});
    return p;
}

// The stepping rule on 64-bit integers over the whole line, with no clipping
// beyond the frame's own rows or columns.
Pixels unclipped_line(double x0, double y0, double x1, double y1, int32_t width, int32_t height)
{
    const bool steep = std::fabs(x1 - x0) < std::fabs(y1 - y0);
    const double a0 = steep ? y0 : x0, a1 = steep ? y1 : x1, b0 = steep ? x0 : y0, b1 = steep ? x1 : y1;
    const int64_t a_limit = steep ? height : width, b_limit = steep ? width : height;
    const int64_t lo = std::max<int64_t>(0, static_cast<int64_t>(std::nearbyint(std::min(a0, a1))));
    const int64_t hi = std::min<int64_t>(a_limit, static_cast<int64_t>(std::nearbyint(std::max(a0, a1))));
    Pixels p;
    if (lo >= hi) return p;
    const double s = (b1 - b0) / (a1 - a0);
    auto b = static_cast<int64_t>(std::nearbyint(((lo + 0.5 - a0) * s + b0) * 262144));
    const auto step = static_cast<int64_t>(std::nearbyint(s * 262144));
    for (int64_t a = lo; a < hi; ++a, b += step)
        if (b >= 0 && b < b_limit * 262144)
            p.insert(steep ? std::pair{static_cast<int32_t>(b >> 18), static_cast<int32_t>(a)}
                           : std::pair{static_cast<int32_t>(a), static_cast<int32_t>(b >> 18)});
    return p;
}

}  // namespace

TEST(BorderLine, LinesLeavingTheScreenStopAtItsEdges)
{
    TestFrame f(200, 150, 0, 211);
    draw_border_line(f.frame, -50, 10.2, 250, 10.2, border_colour);
    Pixels expected;
    for (int32_t x = 0; x < 200; ++x) expected.insert({x, 10});
    EXPECT_EQ(drawn(f), expected);

    TestFrame above(200, 150, 0, 200);
    draw_border_line(above.frame, 50.3, -40, 60.7, 30, border_colour);
    const Pixels p = drawn(above);
    EXPECT_EQ(p.size(), 30u);  // rows 0 to 29
    EXPECT_EQ(p.begin()->first, 56);  // x at row 0.5: 50.3 + 40.5 * 10.4 / 70
    EXPECT_TRUE(above.guards_intact());

    TestFrame none(50, 50, 0, 64);
    draw_border_line(none.frame, 5.2, 5.2, 5.2, 5.2, border_colour);
    draw_border_line(none.frame, 5.2, 5.2, 5.4, 5.3, border_colour);  // rounds to one point
    draw_border_line(none.frame, NAN, 5, 20, 20, border_colour);
    EXPECT_EQ(none.count(border_colour), 0);
    draw_border_line(none.frame, 10, 10, INFINITY, 20, border_colour);
    draw_border_line(none.frame, -INFINITY, 10, 10, INFINITY, border_colour);
    EXPECT_TRUE(none.guards_intact());
}

TEST(BorderLine, ClippingKeepsEveryPixelInsideTheFrame)
{
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> uni(-1, 1);
    const double reach[] = {60, 1e4, 1e9, 1e12};
    for (int i = 0; i < 3000; ++i) {
        TestFrame f(97, 61, 0, 101);
        double c[4];
        for (double& v : c) v = 48 + uni(rng) * reach[rng() % 4];
        draw_border_line(f.frame, c[0], c[1], c[2], c[3], border_colour);
        ASSERT_EQ(drawn(f), unclipped_line(c[0], c[1], c[2], c[3], 97, 61)) << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
        ASSERT_TRUE(f.guards_intact());
    }
}

TEST(BorderLines, FarSideIsDrawnOnlyWhenAsked)
{
    std::vector<std::pair<double, double>> far;
    for (double lon = 150; lon <= 210; lon += 2) far.push_back({lon, 10});
    const Borders borders = borders_of({far});
    TestFrame f(200, 200, 0, 208);
    Camera view = facing(3);
    drawbords(view, f.frame, borders, false);
    EXPECT_EQ(f.count(border_colour), 0);

    drawbords(view, f.frame, borders, true);
    const Pixels p = drawn(f);
    EXPECT_GT(p.size(), 10u);
    for (auto [x, y] : p) EXPECT_LT(std::hypot(x + 0.5 - 100, y + 0.5 - 100), 36.0);  // within the disc
}

TEST(BorderLines, ABorderOverTheHorizonEndsAtTheLimb)
{
    // From 3 radii the limb is 100 * tan(asin(1/3)) = 35.355 pixels from the
    // centre: the equator covers columns 65 to 134 of row 100, the meridian
    // rows 65 to 134 of column 100.
    std::vector<std::pair<double, double>> equator, meridian;
    for (double lon = -120; lon <= 120; lon += 1) equator.push_back({lon, 0});
    for (double lat = -85; lat <= 85; lat += 1) meridian.push_back({0, lat});
    TestFrame f(200, 200, 0, 208);
    drawbords(facing(3), f.frame, borders_of({equator}), false);
    Pixels expected;
    for (int32_t x = 65; x < 135; ++x) expected.insert({x, 100});
    EXPECT_EQ(drawn(f), expected);

    TestFrame g(200, 200, 0, 208);
    drawbords(facing(3), g.frame, borders_of({meridian}), false);
    expected.clear();
    for (int32_t y = 65; y < 135; ++y) expected.insert({100, y});
    EXPECT_EQ(drawn(g), expected);
}

TEST(BorderLines, SegmentsBehindTheEyeAreCutAtTheNearLimit)
{
    // Eye 0.5 radii above the equator at longitude 0, looking east along it
    // with a wide field: the western half lies behind the eye plane, and the
    // points just in front of it project some 20000 pixels off to the right.
    Camera view = facing(1.5);
    view.viewfwd = {1, 0, 0};
    view.viewright = {0, 0, 1};
    view.viewdown = {0, -1, 0};
    view.zoom_half = 20;
    std::vector<std::pair<double, double>> equator;
    for (double lon = -180; lon <= 180; lon += 3) equator.push_back({lon, 0});
    TestFrame f(200, 200, 0, 208);
    drawbords(view, f.frame, borders_of({equator}), true);
    // The tangent from the eye is sqrt(1.5^2 - 1) = 1.118 across: column 122.4.
    Pixels expected;
    for (int32_t x = 122; x < 200; ++x) expected.insert({x, 100});
    EXPECT_EQ(drawn(f), expected);
    EXPECT_TRUE(f.guards_intact());
}
