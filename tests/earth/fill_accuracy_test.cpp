// The land and sea fill against the point-in-land test, pixel by pixel, for
// views from just above the surface to far away, straight down and at the
// limb, over the poles, the date line and coasts cut by the horizon.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/view_ops.h"
#include "earth/fill.h"
#include "fill_scene.h"

using namespace fill_test;

namespace {

struct Case {
    const char* name;
    double lat, lon, dist;  // the eye
    double tlat, tlon;      // looked at; the Earth's centre when both are NaN
    double roll = 0;
    double mag = 1;
};

constexpr double centre = std::numeric_limits<double>::quiet_NaN();

const Case cases[] = {
    {"Cape Cod straight down, 1.01", 41.7, -70.0, 1.01, centre, centre},
    {"Norway, horizon to the west, 1.01", 62, 5, 1.01, 62, -5},
    {"Italy straight down, 1.1", 42, 12.5, 1.1, centre, centre},
    {"Italy, limb to the east, 1.1", 42, 12.5, 1.1, 42, 40},
    {"Europe, 1.5", 50, 10, 1.5, centre, centre},
    {"North Pole, 2", 90, 0, 2, centre, centre},
    {"South Pole, 2", -90, 0, 2, centre, centre},
    {"date line, 3", 0, 180, 3, centre, centre},
    {"Indonesia, 3", -2, 118, 3, centre, centre},
    {"Africa, 10", 5, 20, 10, centre, centre},
    {"date line, 10", 10, -175, 10, centre, centre},
    {"Antarctica on the limb, 1.3", -40, 60, 1.3, -85, 60},
    {"Antarctic coast, 1.05", -70, 0, 1.05, centre, centre},
    {"Bering Strait, 1.2", 66, -169, 1.2, centre, centre},
    {"limb at magnification 4, 4", 20, -40, 4, 20, 35, 0, 4},
    {"Greenland, horizon to the south, 1.02", 72, -40, 1.02, 60, -40},
    {"Americas rolled, 6", 10, -80, 6, centre, centre, 30},
    {"Gibraltar at magnification 3, 2", 36, -5.6, 2, 36, -5.6, 0, 3},
    {"Japan obliquely, 1.5", 30, 130, 1.5, 40, 150},
    {"Chile, horizon to the north, 1.01", -40, -73.5, 1.01, -30, -73.5},
    {"Siberia towards the limb, 2.5", 80, 100, 2.5, 15, 100, 0, 2},
    {"Dover, 5 miles up looking east", 51, 1.5, 1.0013, 51, 5},
    {"date line on the limb, 1.3", 0, 150, 1.3, 0, -140, -20},
    {"Tierra del Fuego rolled, 1.05", -54, -68, 1.05, -60, -60, 70},
    {"Denmark, level gaze rolled 50, 1.01", 56, 10, 1.01, 56, 25, 50},
    {"Aegean, level gaze rolled -60, 1.003", 38, 24, 1.003, 30, 24, -60},
};

Camera case_view(const Case& c, int32_t w, int32_t h)
{
    const Vec3 eye = geo(c.lat, c.lon) * c.dist;
    const Vec3 target = std::isnan(c.tlat) ? Vec3{} : geo(c.tlat, c.tlon);
    return look(w, h, eye, target, c.roll, c.mag);
}

struct Score {
    int64_t checked = 0;
    int64_t wrong = 0;
    int64_t land = 0;
};

// A change of land and sea on row y within 2 pixels of pixel x, looked for
// in steps of 1/8 pixel: features too small to show between two pixel
// centres still count.
bool coast_near(const Camera& v, const Shore& shore, int32_t x, int32_t y, int t)
{
    for (int i = 0; i <= 40; ++i) {
        const int u = land_seen(v, shore, x - 2 + i / 8.0, y + 0.5);
        if (u >= 0 && u != t) return true;
    }
    return false;
}

// Every disc pixel whose row has no change of land and sea within 2 pixels
// of it must show the colour that the point-in-land test gives for its
// centre. Changes are first looked for at the pixel centres and at both ends
// of the disc, and then, for a pixel that looks wrong, finely around it.
Score score(const Scene& s, const Camera& v, const Shore& shore)
{
    Score out;
    const auto disc = disc_rows(v, s);
    std::vector<int> truth(static_cast<size_t>(s.w) + 2);
    for (int32_t y = 0; y < s.h; ++y) {
        const DiscRow d = disc[static_cast<size_t>(y)];
        if (d.x0 >= d.x1) continue;
        // truth[i + 1] is pixel i's centre; the disc's ends sit beside them.
        for (int32_t x = d.x0; x < d.x1; ++x) truth[static_cast<size_t>(x + 1)] = land_seen(v, shore, x + 0.5, y + 0.5);
        truth[static_cast<size_t>(d.x0)] = land_seen(v, shore, d.x0 + 0.01, y + 0.5);
        truth[static_cast<size_t>(d.x1 + 1)] = land_seen(v, shore, d.x1 - 0.01, y + 0.5);
        for (int32_t x = d.x0; x < d.x1; ++x) {
            const int t = truth[static_cast<size_t>(x + 1)];
            bool clear = t >= 0;
            for (int32_t n = std::max(x - 2, d.x0 - 1); clear && n <= std::min(x + 2, d.x1); ++n) {
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

void check_views(const Shore& shore, int32_t w, int32_t h, int64_t& land_views)
{
    uint32_t seed = 99;
    for (const Case& c : cases) {
        Scene s(w, h);
        const Camera v = case_view(c, w, h);
        globespans(v, s.frame, s.spans);
        fillglobe(v, false, s.frame, s.spans, shore, false, seed);
        const Score r = score(s, v, shore);
        EXPECT_GT(r.checked, 0) << c.name;
        EXPECT_LE(r.wrong * 1000, r.checked) << c.name << ": " << r.wrong << " of " << r.checked << " wrong";
        land_views += r.land > 0 && r.land < r.checked;
    }
}

// Continents, a lake on one, a box across the date line, a ring round the
// South Pole and a small island.
Shore made_up_world()
{
    Shore shore;
    shore_from_loops(units,
                     {box(20, 50, -10, 40), box(30, 35, 10, 20), box(-20, 10, 170, 190), parallel(-70),
                      box(60, 62, -50, -45), box(35, 75, -80, -60), box(-60, -30, -75, -65), box(40, 70, 120, 170),
                      box(-50, -38, 40, 90)},
                     shore);
    return shore;
}

}  // namespace

TEST(FillAccuracy, MadeUpWorldMatchesThePointInLandTest)
{
    int64_t mixed = 0;
    check_views(made_up_world(), 240, 180, mixed);
    EXPECT_GE(mixed, 12);
}

TEST(FillAccuracy, ShippedShorelinesMatchThePointInLandTest)
{
    const std::string path = std::string(GLOBE_SOURCE_DATA_DIR) + "/SHOREX.DAT";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not there yet";
    Shore shore;
    ASSERT_EQ(loadshore(path, shore), "");
    int64_t mixed = 0;
    check_views(shore, 320, 240, mixed);
    EXPECT_GE(mixed, 15);
}

TEST(FillAccuracy, HomeViewFiveMilesUp)
{
    // The view every run starts with: level, looking south from 5 miles up,
    // with the surface reaching behind the eye plane (near clipping).
    View home;
    TimeState time;
    view_reset(home, time, CivilTime{});
    Camera v = home.camera;
    v.zoom = 320;
    v.zoom_half = 160;
    v.xres_half = 160;
    v.yres_half = 120;
    v.viewpos = v.viewpos * home.min_dist;
    const Shore shore = made_up_world();
    Scene s(320, 240);
    globespans(v, s.frame, s.spans);
    uint32_t seed = 5;
    fillglobe(v, false, s.frame, s.spans, shore, false, seed);
    const Score r = score(s, v, shore);
    EXPECT_GT(r.checked, 320 * 100);
    EXPECT_LE(r.wrong * 1000, r.checked) << r.wrong << " of " << r.checked;
}

TEST(FillAccuracy, SkippingHiddenPiecesLeavesThePictureAlone)
{
    // Jumping over a hidden piece must land on exactly the segment a
    // point-by-point walk reaches next, including at a loop's first point;
    // a piece table cut short is walked point by point past its end.
    const Shore shore = made_up_world();
    ASSERT_GE(shore.lpscnt, 9);
    Shore unpieced = shore, cut = shore;
    unpieced.lpscnt = 0;
    cut.lpscnt = shore.lpscnt / 3;
    for (const Case& c : cases) {
        const Camera v = case_view(c, 160, 120);
        std::vector<uint8_t> pictures[3];
        const Shore* shores[3] = {&shore, &unpieced, &cut};
        for (int i = 0; i < 3; ++i) {
            Scene s(160, 120);
            globespans(v, s.frame, s.spans);
            uint32_t seed = 3;
            fillglobe(v, false, s.frame, s.spans, *shores[i], false, seed);
            pictures[i] = s.bytes;
        }
        EXPECT_EQ(pictures[0], pictures[1]) << c.name;
        EXPECT_EQ(pictures[0], pictures[2]) << c.name;
    }
}
