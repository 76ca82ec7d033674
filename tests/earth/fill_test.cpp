// The land and sea fill against the point-in-land test, pixel by pixel, for
// views from just above the surface to far away, straight down and at the
// limb, over the poles, the date line and coasts cut by the horizon.
#include "earth/fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "earth/globe.h"
#include "earth/inland.h"
#include "support/test_frame.h"

namespace {

constexpr double deg = M_PI / 180;
constexpr int32_t units = 65536;

MapPoint map_point(double lat, double lon, int32_t per_turn = units)
{
    const double l = std::remainder(lon, 360);
    int32_t x = static_cast<int32_t>(std::lround(l * per_turn / 360));
    if (x >= per_turn / 2) x -= per_turn;
    return {x, static_cast<int32_t>(std::lround(-lat * per_turn / 360))};
}

MapPoint map_point(Vec3 p, int32_t per_turn)
{
    const Vec3 q = p * (1 / length(p));
    return map_point(-std::asin(q.y) / deg, std::atan2(q.x, -q.z) / deg, per_turn);
}

// The outline of a latitude-longitude box in short steps, so that straight
// steps on the map and straight lines on the screen agree.
std::vector<MapPoint> box(double lat0, double lat1, double lon0, double lon1, double step = 0.25)
{
    std::vector<MapPoint> loop;
    const auto edge = [&](double la0, double lo0, double la1, double lo1) {
        const int n = static_cast<int>(std::ceil(std::max(std::fabs(la1 - la0), std::fabs(lo1 - lo0)) / step));
        for (int i = 0; i < n; ++i) loop.push_back(map_point(la0 + (la1 - la0) * i / n, lo0 + (lo1 - lo0) * i / n));
    };
    edge(lat0, lon0, lat0, lon1);
    edge(lat0, lon1, lat1, lon1);
    edge(lat1, lon1, lat1, lon0);
    edge(lat1, lon0, lat0, lon0);
    return loop;
}

// A ring along one parallel: land on its side of the South Pole.
std::vector<MapPoint> parallel(double lat)
{
    std::vector<MapPoint> loop;
    for (double lon = -180; lon < 180; lon += 0.5) loop.push_back(map_point(lat, lon));
    return loop;
}

Shore shore_of(const std::vector<std::vector<MapPoint>>& loops, int32_t per_turn = units)
{
    Shore shore;
    shore_from_loops(per_turn, loops, shore);
    return shore;
}

// 1 for land at the point of the sphere seen through (x, y); -1 for a miss.
int land_seen(const Camera& v, const Shore& shore, double x, double y)
{
    const Vec3 dir = v.viewright * (x - v.xres_half) + v.viewdown * (y - v.yres_half) + v.viewfwd * v.zoom_half;
    const double b = dot(v.viewpos, dir), dd = dot(dir, dir);
    const double disc = b * b - dd * (dot(v.viewpos, v.viewpos) - 1);
    if (disc < 0) return -1;
    const Vec3 p = v.viewpos + dir * ((-b - std::sqrt(disc)) / dd);
    return inland(shore, p.x, p.y, p.z);
}

TestFrame render(const Camera& v, const Shore& shore, uint32_t& seed, bool caps = false, bool far_side = false)
{
    TestFrame t(static_cast<int32_t>(v.xres_half * 2), static_cast<int32_t>(v.yres_half * 2));
    globespans(v, t.frame, t.spans);
    fillglobe(v, far_side, t.frame, t.spans, shore, caps, seed);
    return t;
}

std::vector<uint8_t> pixels(const TestFrame& t)
{
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < t.height(); ++y)
        for (int32_t x = 0; x < t.width(); ++x) out.push_back(t.at(x, y));
    return out;
}

// Each row's disc ends as globespans gives them; {0, 0} for no disc.
std::vector<std::pair<int32_t, int32_t>> disc_rows(const Camera& v, const TestFrame& t)
{
    Spans spans = t.spans;
    globespans(v, t.frame, spans);
    std::vector<std::pair<int32_t, int32_t>> rows(static_cast<size_t>(t.height()));
    for (int32_t y = 0; y < t.height(); ++y)
        if (spans.xpcnt[static_cast<size_t>(y)] == 2) rows[static_cast<size_t>(y)] = {spans.row(y)[0], spans.row(y)[1]};
    return rows;
}

struct Score {
    int64_t checked = 0, wrong = 0, land = 0;
};

// A change of land and sea on row y within 2 pixels of x, looked for in
// steps of 1/8 pixel: features too small to show between pixel centres count.
bool coast_near(const Camera& v, const Shore& shore, int32_t x, int32_t y, int t)
{
    for (int i = 0; i <= 40; ++i) {
        const int u = land_seen(v, shore, x - 2 + i / 8.0, y + 0.5);
        if (u >= 0 && u != t) return true;
    }
    return false;
}

// Every disc pixel with no change of land and sea within 2 pixels of it on
// its row must show the colour the point-in-land test gives for its centre.
Score score(const TestFrame& s, const Camera& v, const Shore& shore)
{
    Score out;
    const auto disc = disc_rows(v, s);
    std::vector<int> truth(static_cast<size_t>(s.width()) + 2);
    for (int32_t y = 0; y < s.height(); ++y) {
        const auto [x0, x1] = disc[static_cast<size_t>(y)];
        if (x0 >= x1) continue;
        // truth[i + 1] is pixel i's centre; the disc's ends sit beside them.
        for (int32_t x = x0; x < x1; ++x) truth[static_cast<size_t>(x + 1)] = land_seen(v, shore, x + 0.5, y + 0.5);
        truth[static_cast<size_t>(x0)] = land_seen(v, shore, x0 + 0.01, y + 0.5);
        truth[static_cast<size_t>(x1 + 1)] = land_seen(v, shore, x1 - 0.01, y + 0.5);
        for (int32_t x = x0; x < x1; ++x) {
            const int t = truth[static_cast<size_t>(x + 1)];
            bool clear = t >= 0;
            for (int32_t n = std::max(x - 2, x0 - 1); clear && n <= std::min(x + 2, x1); ++n) {
                const int u = truth[static_cast<size_t>(n + 1)];
                clear = u == t || u < 0;
            }
            if (!clear) continue;
            const bool wrong = s.at(x, y) != (t ? land_colour : sea_colour);
            if (wrong && coast_near(v, shore, x, y, t)) continue;
            ++out.checked;
            out.land += t;
            out.wrong += wrong;
        }
    }
    return out;
}

struct Case {
    const char* name;
    double lat, lon, dist;  // the eye
    double tlat, tlon;      // looked at; the Earth's centre when NaN
    double roll = 0, mag = 1;
};

constexpr double centre = std::numeric_limits<double>::quiet_NaN();

const Case cases[] = {
    {"Cape Cod straight down, 1.01", 41.7, -70.0, 1.01, centre, centre},
    {"Norway, horizon to the west, 1.01", 62, 5, 1.01, 62, -5},
    {"Italy, limb to the east, 1.1", 42, 12.5, 1.1, 42, 40},
    {"North Pole, 2", 90, 0, 2, centre, centre},
    {"South Pole, 2", -90, 0, 2, centre, centre},
    {"date line, 3", 0, 180, 3, centre, centre},
    {"date line, 10", 10, -175, 10, centre, centre},
    {"Antarctica on the limb, 1.3", -40, 60, 1.3, -85, 60},
    {"Antarctic coast, 1.05", -70, 0, 1.05, centre, centre},
    {"limb at magnification 4, 4", 20, -40, 4, 20, 35, 0, 4},
    {"Greenland, horizon to the south, 1.02", 72, -40, 1.02, 60, -40},
    {"Americas rolled, 6", 10, -80, 6, centre, centre, 30},
    {"Gibraltar at magnification 3, 2", 36, -5.6, 2, 36, -5.6, 0, 3},
    {"Dover, 5 miles up looking east", 51, 1.5, 1.0013, 51, 5},
    {"date line on the limb, 1.3", 0, 150, 1.3, 0, -140, -20},
    {"Tierra del Fuego rolled, 1.05", -54, -68, 1.05, -60, -60, 70},
    {"Denmark, level gaze rolled 50, 1.01", 56, 10, 1.01, 56, 25, 50},
    {"Aegean, level gaze rolled -60, 1.003", 38, 24, 1.003, 30, 24, -60},
};

Camera case_view(const Case& c, int32_t w, int32_t h)
{
    const Vec3 target = std::isnan(c.tlat) ? Vec3{} : geo(c.tlat, c.tlon);
    return look_at(w, h, geo(c.lat, c.lon) * c.dist, target, c.roll, c.mag);
}

// Views that show both land and sea.
int64_t check_views(const Shore& shore, int32_t w, int32_t h)
{
    uint32_t seed = 99;
    int64_t mixed = 0;
    for (const Case& c : cases) {
        const Camera v = case_view(c, w, h);
        const TestFrame s = render(v, shore, seed);
        const Score r = score(s, v, shore);
        EXPECT_GT(r.checked, 0) << c.name;
        EXPECT_LE(r.wrong * 1000, r.checked) << c.name << ": " << r.wrong << " of " << r.checked << " wrong";
        EXPECT_TRUE(s.guards_intact()) << c.name;
        mixed += r.land > 0 && r.land < r.checked;
    }
    return mixed;
}

// Continents, a lake on one, a box across the date line, a ring round the
// South Pole and a small island.
Shore made_up_world()
{
    return shore_of({box(20, 50, -10, 40), box(30, 35, 10, 20), box(-20, 10, 170, 190), parallel(-70),
                     box(60, 62, -50, -45), box(35, 75, -80, -60), box(-60, -30, -75, -65), box(40, 70, 120, 170),
                     box(-50, -38, 40, 90)});
}

}  // namespace

TEST(FillAccuracy, MadeUpWorldMatchesThePointInLandTest)
{
    EXPECT_GE(check_views(made_up_world(), 240, 180), 12);
}

TEST(FillAccuracy, SkippingHiddenPiecesLeavesThePictureAlone)
{
    // Jumping over a hidden piece must land on exactly the segment a
    // point-by-point walk reaches next, including at a loop's first point;
    // a piece table cut short is walked point by point past its end. The
    // probe's seed advances but never shows.
    const Shore shore = made_up_world();
    ASSERT_GE(shore.lpscnt, 9);
    Shore unpieced = shore, cut = shore;
    unpieced.lpscnt = 0;
    cut.lpscnt = shore.lpscnt / 3;
    for (const Case& c : cases) {
        const Camera v = case_view(c, 160, 120);
        uint32_t s0 = 3, s1 = 3, s2 = 12345;
        const std::vector<uint8_t> whole = pixels(render(v, shore, s0));
        EXPECT_EQ(whole, pixels(render(v, unpieced, s1))) << c.name;
        EXPECT_EQ(s0, s1);
        EXPECT_EQ(whole, pixels(render(v, cut, s2))) << c.name;
    }
}

TEST(FillGlobe, WithoutASpanWorkAreaEveryRowIsCleared)
{
    // Coasts cut by the horizon flip rows' colours at the limb; with no rows
    // to hold them there is nothing to flip, and nothing to draw.
    const Shore shore = made_up_world();
    uint32_t seed = 1;
    for (const Case& c : cases) {
        TestFrame t(160, 120, 9);
        t.spans = Spans{};
        fillglobe(case_view(c, 160, 120), false, t.frame, t.spans, shore, true, seed);
        EXPECT_EQ(t.count(0), 160 * 120) << c.name;
        EXPECT_TRUE(t.guards_intact());
    }
}

TEST(FillGlobe, EmptyAndFarSideShorelines)
{
    // No shorelines: the disc is sea. An island right behind the centre is
    // hidden, and shows through only with far_side, which probes nothing.
    const Shore far = shore_of({box(-10, 10, 170, 190)});
    for (const Shore& shore : {Shore{}, far}) {
        const Camera v = look_at(320, 240, geo(0, 0) * 3, {});
        uint32_t seed = 1;
        const TestFrame f = render(v, shore, seed);
        EXPECT_NE(seed, 1u);
        const auto disc = disc_rows(v, f);
        for (int32_t y = 0; y < 240; ++y)
            for (int32_t x = 0; x < 320; ++x) {
                const auto [x0, x1] = disc[static_cast<size_t>(y)];
                ASSERT_EQ(f.at(x, y), x >= x0 && x < x1 ? sea_colour : 0) << x << ", " << y;
            }
        EXPECT_TRUE(f.guards_intact());
    }
    uint32_t seed = 1;
    const TestFrame through = render(look_at(320, 240, geo(0, 0) * 3, {}), far, seed, false, true);
    EXPECT_EQ(seed, 1u);
    EXPECT_EQ(through.at(160, 120), land_colour);
    EXPECT_EQ(through.at(160, 135), sea_colour);
    EXPECT_EQ(through.at(120, 120), sea_colour);
    EXPECT_EQ(through.at(5, 120), 0);
}

TEST(FillGlobe, TinyDiscFallsBackToTheFirstRowsLeftEnd)
{
    // Every row of a disc 4 pixels wide is too narrow for the probe, so the
    // first disc row's left end decides: all south of 75 N is land.
    const Shore shore = shore_of({parallel(75)});
    const Camera v = look_at(64, 48, geo(0, 0) * 16, {});
    uint32_t seed = 1;
    const TestFrame f = render(v, shore, seed);
    const auto disc = disc_rows(v, f);
    int32_t disc_pixels = 0;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = disc[static_cast<size_t>(y)].first; x < disc[static_cast<size_t>(y)].second; ++x) {
            EXPECT_EQ(f.at(x, y), land_colour);
            ++disc_pixels;
        }
    EXPECT_GT(disc_pixels, 0);
}

TEST(FillGlobe, CapsLockOutlinesEachRowsEndsOfTheVisibleCaps)
{
    // The outline on each row is the first and the last screen point whose
    // ray meets the cap's plane within its radius; the rest is the plain fill.
    const Shore shore = shore_of({box(-2, 2, -3, 3, 0.5)});
    ASSERT_EQ(shore.lpscnt, 1);
    const Piece& p = shore.lps[0];
    const Vec3 q{p.q[0], p.q[1], p.q[2]}, n = q * (1 / length(q));
    const double rho2 = 1 - p.cos2;
    // Straight on, rolled and oblique, and cut by the left and right edges.
    for (const Camera& v : {look_at(320, 240, geo(0, 0) * 2, {}), look_at(320, 240, geo(5, 8) * 1.5, geo(0, 2), 20),
                            look_at(320, 240, geo(0, 0) * 2, geo(0, 10), 0, 6),
                            look_at(320, 240, geo(0, 0) * 2, geo(1, -10), 0, 6)}) {
        uint32_t s0 = 1, s1 = 1;
        TestFrame f = render(v, shore, s0, true);
        for (int32_t count : f.spans.xpcnt) EXPECT_EQ(count, 0);
        const TestFrame plain = render(v, shore, s1);
        const auto inside = [&](int32_t x, int32_t y) {
            const Vec3 dir = v.viewright * (x - v.xres_half) + v.viewdown * (y - v.yres_half) + v.viewfwd * v.zoom_half;
            const Vec3 hit = v.viewpos + dir * (dot(n, q - v.viewpos) / dot(n, dir));
            return dot(hit - q, hit - q) <= rho2;
        };
        int32_t rows = 0;
        for (int32_t y = 0; y < 240; ++y) {
            int32_t lo = -1, hi = -1;
            for (int32_t x = 0; x < 320; ++x)
                if (inside(x, y)) {
                    if (lo < 0) lo = x;
                    hi = x;
                }
            for (int32_t x = 0; x < 320; ++x) {
                if (lo >= 0 && hi - lo <= 8) continue;
                const bool end = lo >= 0 && (x == lo || x == hi);
                ASSERT_EQ(f.at(x, y), end ? cap_outline_colour : plain.at(x, y)) << x << ", " << y;
            }
            rows += lo >= 0;
        }
        EXPECT_GT(rows, 20);
        EXPECT_EQ(plain.count(cap_outline_colour), 0);
        EXPECT_TRUE(f.guards_intact());
    }
}

TEST(FillGlobe, ShorelineThroughTheEyePlaneWhereTheRowsMeet)
{
    // Rolled and low, the eye's right axis runs into the Earth: every row's
    // left end lies at that one point, on the eye plane. A strip of land a
    // few hundred yards wide crossing the eye plane there is cut at the near
    // limit far left of the screen but on screen rows; those cuts must
    // change the colour at the rows' left ends, or whole rows go wrong.
    const int32_t fine = 1 << 24;
    for (const double roll : {-50.0, -70.0}) {
        const Camera v = look_at(320, 240, geo(56, 10) * 1.01, geo(56, 25), roll);
        const double er = dot(v.viewpos, v.viewright);
        const double s = -er + std::sqrt(er * er - (dot(v.viewpos, v.viewpos) - 1));
        ASSERT_LT(std::fabs(s), 0.02);
        const Vec3 meet = v.viewpos + v.viewright * s;
        const Vec3 along = cross(v.viewfwd, meet) * (1 / length(cross(v.viewfwd, meet)));
        const Vec3 across = cross(meet, along) * (1 / length(cross(meet, along)));
        std::vector<MapPoint> strip;
        for (int i = 0; i <= 100; ++i) strip.push_back(map_point(meet + across * (-0.05 + 0.001 * i) - along * 1e-4, fine));
        for (int i = 0; i <= 100; ++i) strip.push_back(map_point(meet + across * (0.05 - 0.001 * i) + along * 1e-4, fine));
        const Shore shore = shore_of({strip}, fine);
        uint32_t seed = 1;
        const TestFrame f = render(v, shore, seed);
        int32_t wrong = 0, land = 0, seen = 0;
        for (int32_t y = 0; y < 240; ++y)
            for (int32_t x = 0; x < 320; ++x) {
                const int t = land_seen(v, shore, x + 0.5, y + 0.5);
                if (t < 0) continue;
                ++seen;
                land += t;
                wrong += (f.at(x, y) == land_colour) != (t == 1);
            }
        EXPECT_GT(land, 100);
        EXPECT_LT(wrong, 20) << "roll " << roll << ": " << wrong << " of " << seen;
    }
}
