// Border lines: clipping at the frame's edges, the horizon and the near
// limit, with the guard bytes round the frame untouched.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "earth/border_lines.h"
#include "support/test_frame.h"

namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;  // (x, y)
using Line = std::vector<std::pair<double, double>>;

// A polyline of (longitude, latitude) in degrees, north positive.
Borders borders_of(const Line& line)
{
    Borders b;
    for (const auto& [lon, lat] : line) {
        if (b.polcnt() % 8 == 0) b.polineto.push_back(0);
        if (b.polcnt() == 0) b.polineto.back() = 1;
        const Vec3 p = geo(lat, lon);
        b.polv.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
    }
    return b;
}

Pixels drawn(const TestFrame& f)
{
    Pixels p;
    for (int32_t y = 0; y < f.height(); ++y)
        for (int32_t x = 0; x < f.width(); ++x)
            if (f.at(x, y) == border_colour) p.insert({x, y});
    return p;
}

// Pixels from..to-1 along row at, or along column at.
Pixels run(int32_t from, int32_t to, int32_t at, bool column = false)
{
    Pixels p;
    for (int32_t i = from; i < to; ++i) p.insert(column ? std::pair{at, i} : std::pair{i, at});
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

TEST(BorderLine, LinesStopAtTheFramesEdgesAndDegenerateOnesDrawNothing)
{
    TestFrame f(200, 150, 0, 211);
    draw_border_line(f.frame, -50, 10.2, 250, 10.2, border_colour);
    EXPECT_EQ(drawn(f), run(0, 200, 10));

    // Lines exactly on the top and left edges lie in the first row and column.
    TestFrame edges(200, 150, 0, 211);
    draw_border_line(edges.frame, -50, 0, 250, 0, border_colour);
    draw_border_line(edges.frame, 0, -50, 0, 250, border_colour);
    Pixels both = run(0, 200, 0);
    both.merge(run(0, 150, 0, true));
    EXPECT_EQ(drawn(edges), both);

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

TEST(BorderLines, BordersEndAtTheLimbAndAtTheNearLimit)
{
    Line equator, meridian, far, around, setting{{40, 0}, {100, 0}};
    for (double d = -120; d <= 120; d += 1) equator.push_back({d, 0});
    for (double d = -85; d <= 85; d += 1) meridian.push_back({0, d});
    for (double d = 150; d <= 210; d += 2) far.push_back({d, 10});
    for (double d = -180; d <= 180; d += 3) around.push_back({d, 0});
    // From 3 radii the limb is 100 * tan(asin(1/3)) = 35.355 pixels from the
    // centre. From 1.5 radii looking east along the equator, the western
    // half lies behind the eye and the points just in front of it project
    // some 20000 pixels off to the right; the tangent from the eye is
    // sqrt(1.5^2 - 1) = 1.118 across: column 122.4. A line whose first step
    // goes from 40 degrees east, in front, to 100, behind: its chord meets
    // the horizon plane (1/3 towards the eye) at t = 0.4606, x = 0.8003,
    // which projects to column 130.0; it starts at column 128.8.
    const Camera outside = look_at(200, 200, {0, 0, -3}, {0, 0, 0});
    const Camera east = look_at(200, 200, {0, 0, -1.5}, {1, 0, -1.5}, 180, 0.2);
    const struct {
        const Camera& view;
        const Line& line;
        bool far_side;
        Pixels expected;
    } cases[] = {
        {outside, equator, false, run(65, 135, 100)},
        {outside, meridian, false, run(65, 135, 100, true)},
        {outside, far, false, {}},
        {outside, setting, false, run(129, 130, 100)},
        {east, around, true, run(122, 200, 100)},
    };
    for (const auto& c : cases) {
        TestFrame f(200, 200, 0, 208);
        drawbords(c.view, f.frame, borders_of(c.line), c.far_side);
        EXPECT_EQ(drawn(f), c.expected);
        EXPECT_TRUE(f.guards_intact());
    }
    TestFrame f(200, 200, 0, 208);
    drawbords(outside, f.frame, borders_of(far), true);
    EXPECT_GT(f.count(border_colour), 10);
    for (auto [x, y] : drawn(f)) EXPECT_LT(std::hypot(x + 0.5 - 100, y + 0.5 - 100), 36.0);  // within the disc
}
