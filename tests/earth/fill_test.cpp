#include "earth/fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "earth/globe.h"
#include "fill_scene.h"

using namespace fill_test;

namespace {

struct Frame {
    Scene scene;
    Camera view;
    uint32_t seed = 1;
};

Frame render(const Camera& view, int32_t w, int32_t h, const Shore& shore, bool caps = false, uint32_t seed = 1,
             bool far_side = false)
{
    Frame f{Scene(w, h), view, seed};
    globespans(f.view, f.scene.frame, f.scene.spans);
    fillglobe(f.view, far_side, f.scene.frame, f.scene.spans, shore, caps, f.seed);
    return f;
}

// Runs of equal colour along row y: colour and length, left to right.
std::vector<std::pair<uint8_t, int32_t>> runs(const Scene& s, int32_t y)
{
    std::vector<std::pair<uint8_t, int32_t>> out;
    for (int32_t x = 0; x < s.w; ++x) {
        if (out.empty() || out.back().first != s.at(x, y)) out.push_back({s.at(x, y), 0});
        ++out.back().second;
    }
    return out;
}

void expect_all_sea_disc(const Frame& f)
{
    const auto disc = disc_rows(f.view, f.scene);
    for (int32_t y = 0; y < f.scene.h; ++y)
        for (int32_t x = 0; x < f.scene.w; ++x) {
            const DiscRow d = disc[static_cast<size_t>(y)];
            ASSERT_EQ(f.scene.at(x, y), x >= d.x0 && x < d.x1 ? sea_colour : 0) << x << ", " << y;
        }
}

}  // namespace

TEST(FillGlobe, WithoutShorelinesTheDiscIsSea)
{
    const Shore empty;
    for (const Camera& v : {look(320, 240, geo(10, 20) * 3, {}), look(320, 240, geo(41.66, -71.48) * 1.0013, geo(30, -71.48))}) {
        const Frame f = render(v, 320, 240, empty);
        expect_all_sea_disc(f);
        EXPECT_TRUE(f.scene.padding_intact());
    }
}

TEST(FillGlobe, IslandOnTheVisibleSideIsSeaLandSea)
{
    Shore shore;
    shore_from_loops(units, {box(-5, 5, -5, 5)}, shore);
    const Frame f = render(look(320, 240, geo(0, 0) * 3, {}), 320, 240, shore);
    int32_t island_rows = 0;
    for (int32_t y = 0; y < 240; ++y) {
        const auto r = runs(f.scene, y);
        if (r.size() == 5) {
            EXPECT_EQ(r[0].first, 0);
            EXPECT_EQ(r[1].first, sea_colour);
            EXPECT_EQ(r[2].first, land_colour);
            EXPECT_EQ(r[3].first, sea_colour);
            EXPECT_EQ(r[4].first, 0);
            EXPECT_NEAR(r[0].second + r[1].second + r[2].second * 0.5, 160, 1.0);
            ++island_rows;
        } else if (r.size() == 3) {
            EXPECT_EQ(r[1].first, sea_colour);
        } else {
            ASSERT_LE(r.size(), 1u) << "row " << y;
            EXPECT_EQ(r[0].first, 0);
        }
    }
    // 5 degrees either side of the point below the eye, 3 radii from the
    // centre, at a focal length of 160 pixels.
    const double expected = 2 * 160 * std::sin(5 * deg) / (3 - std::cos(5 * deg));
    EXPECT_NEAR(island_rows, expected, 2.0);
    EXPECT_TRUE(f.scene.padding_intact());
}

TEST(FillGlobe, FarSideShorelinesShowThroughWithoutProbe)
{
    Shore shore;
    shore_from_loops(units, {box(-10, 10, 170, 190)}, shore);
    Camera v = look(320, 240, geo(0, 0) * 3, {});
    const Frame hidden = render(v, 320, 240, shore);
    expect_all_sea_disc(hidden);
    EXPECT_NE(hidden.seed, 1u);

    const Frame through = render(v, 320, 240, shore, false, 1, true);
    EXPECT_EQ(through.seed, 1u);
    // The island sits right behind the centre: land there, sea at the rim.
    EXPECT_EQ(through.scene.at(160, 120), land_colour);
    EXPECT_EQ(through.scene.at(160, 135), sea_colour);
    EXPECT_EQ(through.scene.at(120, 120), sea_colour);
    EXPECT_EQ(through.scene.at(5, 120), 0);
}

TEST(FillGlobe, SameSeedSameFrameAndTheSeedAdvances)
{
    Shore shore;
    shore_from_loops(units, {box(20, 50, -10, 40), box(30, 35, 10, 20)}, shore);
    const Camera v = look(200, 150, geo(30, 10) * 2, {});
    const Frame a = render(v, 200, 150, shore, false, 77);
    const Frame b = render(v, 200, 150, shore, false, 77);
    EXPECT_EQ(a.scene.bytes, b.scene.bytes);
    EXPECT_EQ(a.seed, b.seed);
    EXPECT_NE(a.seed, 77u);
    // A different probe pixel must not change the picture.
    const Frame c = render(v, 200, 150, shore, false, 12345);
    EXPECT_EQ(a.scene.bytes, c.scene.bytes);
}

TEST(FillGlobe, TinyDiscFallsBackToTheFirstRowsLeftEnd)
{
    // Every row of a disc 4 pixels wide is too narrow for the probe, so the
    // first disc row's left end decides. All of the Earth south of 75 N is
    // land, and so is every pixel of this disc.
    Shore shore;
    shore_from_loops(units, {parallel(75)}, shore);
    const Camera v = look(64, 48, geo(0, 0) * 16, {});
    const Frame f = render(v, 64, 48, shore);
    const auto disc = disc_rows(v, f.scene);
    int32_t disc_pixels = 0;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = disc[static_cast<size_t>(y)].x0; x < disc[static_cast<size_t>(y)].x1; ++x) {
            EXPECT_EQ(f.scene.at(x, y), land_colour);
            ++disc_pixels;
        }
    EXPECT_GT(disc_pixels, 0);
}

TEST(FillGlobe, CapsLockOutlinesTheVisibleCaps)
{
    Shore shore;
    shore_from_loops(units, {box(-2, 2, -3, 3, 0.5)}, shore);
    ASSERT_EQ(shore.lpscnt, 1);
    const Camera v = look(320, 240, geo(0, 0) * 2, {});
    Frame f = render(v, 320, 240, shore, true);
    for (int32_t n : f.scene.spans.xpcnt) EXPECT_EQ(n, 0);

    const Piece& p = shore.lps[0];
    const Vec3 q{p.q[0], p.q[1], p.q[2]};
    const double rho = std::sqrt(1 - p.cos2);
    const Vec3 n = unit(q);
    int32_t marked = 0, rows = 0;
    for (int32_t y = 0; y < 240; ++y) {
        int32_t in_row = 0;
        for (int32_t x = 0; x < 320; ++x) {
            if (f.scene.at(x, y) != cap_outline_colour) continue;
            ++in_row;
            // The pixel's ray meets the cap's plane about rho from its centre.
            const Vec3 dir = v.viewright * (x + 0.5 - 160) + v.viewdown * (y + 0.5 - 120) + v.viewfwd * 160;
            const double t = (dot(n, q) - dot(n, v.viewpos)) / dot(n, dir);
            const Vec3 hit = v.viewpos + dir * t;
            const double pixel = length(dir * t) / 160;
            EXPECT_NEAR(length(hit - q), rho, 1.5 * pixel) << x << ", " << y;
        }
        EXPECT_LE(in_row, 2);
        marked += in_row;
        rows += in_row > 0;
    }
    // The cap spans about 2 rho / 1 radius at 160 pixels: rows within one.
    EXPECT_NEAR(rows, 2 * rho * 160 / (2 - std::sqrt(p.cos2)), 2.0);
    EXPECT_GT(marked, rows);

    // Without Caps Lock no pixel has the outline colour.
    const Frame plain = render(v, 320, 240, shore, false);
    for (uint8_t b : plain.scene.bytes) ASSERT_NE(b, cap_outline_colour);
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
        const Camera v = look(320, 240, geo(56, 10) * 1.01, geo(56, 25), roll);
        const double er = dot(v.viewpos, v.viewright);
        const double s = -er + std::sqrt(er * er - (dot(v.viewpos, v.viewpos) - 1));
        ASSERT_LT(std::fabs(s), 0.02);
        const Vec3 meet = v.viewpos + v.viewright * s;
        const Vec3 along = unit(cross(v.viewfwd, meet)), across = unit(cross(meet, along));
        std::vector<MapPoint> strip;
        for (int i = 0; i <= 100; ++i) strip.push_back(map_point(meet + across * (-0.05 + 0.001 * i) - along * 1e-4, fine));
        for (int i = 0; i <= 100; ++i) strip.push_back(map_point(meet + across * (0.05 - 0.001 * i) + along * 1e-4, fine));
        Shore shore;
        shore_from_loops(fine, {strip}, shore);

        const Frame f = render(v, 320, 240, shore);
        int32_t wrong = 0, land = 0, seen = 0;
        for (int32_t y = 0; y < 240; ++y)
            for (int32_t x = 0; x < 320; ++x) {
                const int t = land_seen(v, shore, x + 0.5, y + 0.5);
                if (t < 0) continue;
                ++seen;
                land += t;
                wrong += (f.scene.at(x, y) == land_colour) != (t == 1);
            }
        EXPECT_GT(land, 100);
        EXPECT_LT(wrong, 20) << "roll " << roll << ": " << wrong << " of " << seen;
    }
}
