// The land and sea fill against the point-in-land test, pixel by pixel, from
// just above the surface to far away, over the poles, the date line and the horizon.
#include "earth/fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "earth/globe.h"
#include "earth/inland.h"
#include "support/test_frame.h"

namespace {

MapPoint map_point(double lat, double lon, int32_t per_turn = 65536)
{
    int32_t x = static_cast<int32_t>(std::lround(std::remainder(lon, 360) * per_turn / 360));
    if (x >= per_turn / 2) x -= per_turn;
    return {x, static_cast<int32_t>(std::lround(-lat * per_turn / 360))};
}

// A latitude-longitude box in short steps, straight on the map and on the screen alike.
std::vector<MapPoint> box(double lat0, double lat1, double lon0, double lon1, double step = 0.25)
{
    std::vector<MapPoint> loop;
    const double corners[5][2] = {{lat0, lon0}, {lat0, lon1}, {lat1, lon1}, {lat1, lon0}, {lat0, lon0}};
    for (int k = 0; k < 4; ++k) {
        const auto [la0, lo0] = corners[k];
        const auto [la1, lo1] = corners[k + 1];
        const int n = static_cast<int>(std::ceil(std::max(std::fabs(la1 - la0), std::fabs(lo1 - lo0)) / step));
        for (int i = 0; i < n; ++i) loop.push_back(map_point(la0 + (la1 - la0) * i / n, lo0 + (lo1 - lo0) * i / n));
    }
    return loop;
}

// A ring along one parallel: land on its side of the South Pole.
std::vector<MapPoint> parallel(double lat)
{
    std::vector<MapPoint> loop;
    for (double lon = -180; lon < 180; lon += 0.5) loop.push_back(map_point(lat, lon));
    return loop;
}

Shore shore_of(const std::vector<std::vector<MapPoint>>& loops, int32_t per_turn = 65536)
{
    Shore shore;
    shore_from_loops(per_turn, loops, shore);
    return shore;
}

Vec3 ray(const Camera& v, double x, double y)
{
    return v.viewright * (x - v.xres_half) + v.viewdown * (y - v.yres_half) + v.viewfwd * v.zoom_half;
}

// 1 for land at the point of the sphere seen through (x, y); -1 for a miss.
int land_seen(const Camera& v, const Shore& shore, double x, double y)
{
    const Vec3 dir = ray(v, x, y);
    const double b = dot(v.viewpos, dir), dd = dot(dir, dir);
    const double disc = b * b - dd * (dot(v.viewpos, v.viewpos) - 1);
    if (disc < 0) return -1;
    const Vec3 p = v.viewpos + dir * ((-b - std::sqrt(disc)) / dd);
    return inland(shore, p.x, p.y, p.z);
}

TestFrame render(const Camera& v, const Shore& shore, uint32_t& seed, bool caps = false)
{
    TestFrame t(static_cast<int32_t>(v.xres_half * 2), static_cast<int32_t>(v.yres_half * 2));
    globespans(v, t.frame, t.spans);
    fillglobe(v, false, t.frame, t.spans, shore, caps, seed);
    return t;
}


struct Score {
    int64_t disc = 0, checked = 0, wrong = 0, land = 0;
};

// Every disc pixel must show the point-in-land test's colour for its centre,
// unless land and sea change within 2 pixels on its row (in 1/8 pixel steps).
Score score(const TestFrame& s, const Camera& v, const Shore& shore)
{
    Score out;
    Spans disc = s.spans;
    globespans(v, s.frame, disc);
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = disc.row(y)[0]; disc.xpcnt[static_cast<size_t>(y)] == 2 && x < disc.row(y)[1]; ++x) {
            ++out.disc;
            const int t = land_seen(v, shore, x + 0.5, y + 0.5);
            if (t < 0) continue;
            bool coast = false;
            for (int i = 0; i <= 40 && !coast && out.wrong < 100 && s.at(x, y) != (t ? land_colour : sea_colour); ++i) {
                const int u = land_seen(v, shore, x - 2 + i / 8.0, y + 0.5);
                coast = u >= 0 && u != t;
            }
            if (coast) continue;
            ++out.checked;
            out.land += t;
            out.wrong += s.at(x, y) != (t ? land_colour : sea_colour);
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
    {"date line, 3", 0, 180, 3, centre, centre},
    {"Gibraltar at magnification 3, 2", 36, -5.6, 2, 36, -5.6, 0, 3},
    {"Tierra del Fuego rolled, 1.05", -54, -68, 1.05, -60, -60, 70},
    {"North Pole, 2", 90, 0, 2, centre, centre},
    {"South Pole, 2", -90, 0, 2, centre, centre},
    {"date line, 10", 10, -175, 10, centre, centre},
    {"Antarctica on the limb, 1.3", -40, 60, 1.3, -85, 60},
    {"Antarctic coast, 1.05", -70, 0, 1.05, centre, centre},
    {"Bering Strait, 1.2", 66, -169, 1.2, centre, centre},
    {"limb at magnification 4, 4", 20, -40, 4, 20, 35, 0, 4},
    {"Greenland, horizon to the south, 1.02", 72, -40, 1.02, 60, -40},
    {"Americas rolled, 6", 10, -80, 6, centre, centre, 30},
    {"Dover, 5 miles up looking east", 51, 1.5, 1.0013, 51, 5},
    {"date line on the limb, 1.3", 0, 150, 1.3, 0, -140, -20},
    {"Denmark, level gaze rolled 50, 1.01", 56, 10, 1.01, 56, 25, 50},
    {"Aegean, level gaze rolled -60, 1.003", 38, 24, 1.003, 30, 24, -60},
    {"a speck too narrow to probe, 60", 40, 0, 60, centre, centre},
    {"a corner at magnification 100, its edges reaching far off the frame", 20.1, -9.9, 1.01, 20, -10, 0, 100},
    {"the same rolled 30, its edges crossing many rows from far off", 20.1, -9.9, 1.01, 20, -10, 30, 100},
};


// Every view: the fill against the point-in-land test, nothing painted off the
// disc; the same picture with hidden pieces walked point by point (no piece
// table, or one cut short), from another seed, which moves on alike from
// alike, and over the spans the previous view left, as the viewer's frames
// reuse them; nothing drawn, not even limb flips, without a span work area.
// Returns how many views show both land and sea.
int64_t check_views(const Shore& shore, int32_t w, int32_t h)
{
    Shore unpieced = shore, cut = shore;
    unpieced.lps.clear();
    cut.lps.resize(shore.lps.size() / 3);
    int64_t mixed = 0;
    TestFrame reused(w, h);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Vec3 target = std::isnan(c.tlat) ? Vec3{} : geo(c.tlat, c.tlon);
        const Camera v = look_at(w, h, geo(c.lat, c.lon) * c.dist, target, c.roll, c.mag);
        uint32_t s0 = 3, s1 = 3, s2 = 12345;
        const TestFrame s = render(v, shore, s0);
        const Score r = score(s, v, shore);
        EXPECT_GT(r.checked, 0);
        EXPECT_LE(r.wrong * 1000, r.checked) << r.wrong << " of " << r.checked << " wrong";
        EXPECT_EQ(s.count(land_colour) + s.count(sea_colour), r.disc);
        EXPECT_TRUE(s.guards_intact());
        mixed += r.land > 0 && r.land < r.checked;
        const auto same = [&](const TestFrame& o) {
            for (int32_t y = 0; y < h; ++y)
                if (std::memcmp(o.frame.row(y), s.frame.row(y), static_cast<size_t>(w)) != 0) return false;
            return true;
        };
        EXPECT_TRUE(same(render(v, unpieced, s1)));
        EXPECT_TRUE(same(render(v, cut, s2)));
        uint32_t s3 = 3;
        globespans(v, reused.frame, reused.spans);
        fillglobe(v, false, reused.frame, reused.spans, shore, false, s3);
        EXPECT_TRUE(same(reused));
        EXPECT_TRUE(s0 == s1 && s0 == s3 && s0 != 3);
        TestFrame none(w, h, 9);
        none.spans = Spans{};
        fillglobe(v, false, none.frame, none.spans, shore, true, s0);
        EXPECT_EQ(none.count(0), w * h);
        EXPECT_TRUE(none.guards_intact());
    }
    return mixed;
}

}  // namespace

TEST(FillAccuracy, MadeUpWorldMatchesThePointInLandTest)
{
    // Continents, a lake on one, a box across the date line, a ring round the
    // South Pole and a small island; then no shorelines at all.
    const Shore shore = shore_of({box(20, 50, -10, 40), box(30, 35, 10, 20), box(-20, 10, 170, 190), parallel(-70),
                                  box(60, 62, -50, -45), box(35, 75, -80, -60), box(-60, -30, -75, -65),
                                  box(40, 70, 120, 170), box(-50, -38, 40, 90)});
    ASSERT_GE(shore.lpscnt(), 9);
    EXPECT_GE(check_views(shore, 240, 180), 10);
    EXPECT_EQ(check_views(Shore{}, 160, 120), 0);
}

TEST(FillGlobe, CapsLockOutlinesEachRowsEndsOfTheVisibleCaps)
{
    // The outline on each row is the first and the last screen point whose
    // ray meets the cap's plane within its radius; the rest is the plain fill.
    const Shore shore = shore_of({box(-2, 2, -3, 3, 0.5)});
    ASSERT_EQ(shore.lpscnt(), 1);
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
        int32_t rows = 0;
        for (int32_t y = 0; y < 240; ++y) {
            int32_t lo = -1, hi = -1;
            for (int32_t x = 0; x < 320; ++x) {
                const Vec3 hit = v.viewpos + ray(v, x, y) * (dot(n, q - v.viewpos) / dot(n, ray(v, x, y)));
                if (dot(hit - q, hit - q) > rho2) continue;
                lo = lo < 0 ? x : lo;
                hi = x;
            }
            for (int32_t x = 0; x < 320 && !(lo >= 0 && hi - lo <= 8); ++x) {
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
    const auto unit = [](Vec3 p) { return p * (1 / length(p)); };
    const auto on_map = [&](Vec3 p) {
        return map_point(-std::asin(unit(p).y) * 180 / M_PI, std::atan2(p.x, -p.z) * 180 / M_PI, fine);
    };
    for (const double roll : {-50.0, -70.0}) {
        const Camera v = look_at(320, 240, geo(56, 10) * 1.01, geo(56, 25), roll);
        const double er = dot(v.viewpos, v.viewright);
        const double s = -er + std::sqrt(er * er - (dot(v.viewpos, v.viewpos) - 1));
        ASSERT_LT(std::fabs(s), 0.02);
        const Vec3 meet = v.viewpos + v.viewright * s;
        const Vec3 along = unit(cross(v.viewfwd, meet)), across = unit(cross(meet, along));
        std::vector<MapPoint> strip;
        for (int i = 0; i <= 201; ++i)
            strip.push_back(on_map(meet + across * (i <= 100 ? 0.001 * i - 0.05 : 0.151 - 0.001 * i) +
                                   along * (i <= 100 ? -1e-4 : 1e-4)));
        const Shore shore = shore_of({strip}, fine);
        uint32_t seed = 1;
        const Score r = score(render(v, shore, seed), v, shore);
        EXPECT_GT(r.land, 100);
        EXPECT_LE(r.wrong * 1000, r.checked) << "roll " << roll << ": " << r.wrong << " of " << r.checked;
    }
}
