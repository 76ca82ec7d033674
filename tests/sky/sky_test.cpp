#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/view_ops.h"
#include "raster/text.h"
#include "sky/clock.h"
#include "sky/ephemeris.h"
#include "sky/sky.h"
#include "sky_canvas.h"

namespace {

Stars catalogue(const std::vector<std::array<float, 4>>& stars)
{
    Stars s;
    for (const auto& star : stars) {
        s.starv.insert(s.starv.end(), {star[0], star[1], star[2]});
        s.starcol.push_back(static_cast<uint8_t>(star[3]));
    }
    s.numstars = static_cast<int32_t>(s.starcol.size());
    return s;
}

void stars_on(SkyCanvas& c, const Stars& s, double sidereal_angle = 0)
{
    draw_stars(c.view, c.frame, sky_camera(c.view, c.frame, sidereal_angle), s);
}

TEST(SkyStars, EdgesAndTheGreyRamp)
{
    // At magnification 1 a star 45 degrees right of the line of sight falls
    // on column 640, one past the frame; 45 degrees left on column 0. Stars
    // behind the viewer or outside the corners' cone are skipped.
    const float h = static_cast<float>(std::sqrt(0.5));
    SkyCanvas c(640, 480);
    stars_on(c, catalogue({{h, 0, h, 255}, {-h, 0, h, 255}, {0, 0.6f, 0.8f, 255}, {0, -0.6f, 0.8f, 255},
                           {0, 0, -1, 255}, {0.8f, 0.6f, 0.1f, 255}}));
    EXPECT_EQ(c.at(0, 240), 63);
    EXPECT_EQ(c.at(320, 0), 63);
    EXPECT_EQ(c.count(63), 2);
    EXPECT_TRUE(c.guards_intact());

    // A quarter of the brightness is added, stars add up, and the ramp stops
    // at 63; pixels of 64 and more are never touched.
    struct Case {
        uint8_t under;
        std::vector<std::array<float, 4>> stars;
        uint8_t after;
    };
    for (const Case& k : {Case{60, {{0, 0, 1, 255}}, 63}, Case{0, {{0, 0, 1, 103}}, 25},
                          Case{0, {{0, 0, 1, 160}, {0, 0, 1, 160}}, 63}, Case{64, {{0, 0, 1, 255}}, 64}}) {
        SkyCanvas one(64, 48, k.under);
        stars_on(one, catalogue(k.stars));
        EXPECT_EQ(one.at(32, 24), k.after) << int(k.under);
    }

    // The camera turns with the sidereal angle: at angle -s the star at 0h on
    // the equator stands over longitude s.
    const double s = 0.3;
    SkyCanvas turned(64, 48);
    turned.view.viewfwd = {std::sin(s), 0, -std::cos(s)};
    turned.view.viewright = {std::cos(s), 0, std::sin(s)};
    stars_on(turned, catalogue({{0, 0, -1, 255}}), -s);
    EXPECT_EQ(turned.at(32, 24), 63);
}

TEST(SkyDots, CoverOnlyDarkerSkyInsideTheFrame)
{
    SkyCanvas c(20, 20);
    c.at(5, 5) = 46, c.at(6, 5) = 47, c.at(4, 4) = 200;
    draw_dot(c.frame, 5, 5, 111);  // Mercury: 111 & 63 = 47
    EXPECT_EQ(c.at(5, 5), 111);
    EXPECT_EQ(c.at(6, 5), 47);
    EXPECT_EQ(c.at(4, 4), 200);
    EXPECT_EQ(c.count(111), 7);

    SkyCanvas v(20, 20, 62);
    v.at(10, 10) = 63;
    draw_dot(v.frame, 10, 10, 127);  // Venus: 127 & 63 = 63
    EXPECT_EQ(v.at(10, 10), 63);
    EXPECT_EQ(v.count(127), 8);

    SkyCanvas e(20, 20);
    draw_dot(e.frame, 0, 19, 159);
    draw_dot(e.frame, 20, 5, 159);
    EXPECT_EQ(e.count(159), 4 + 3);
    EXPECT_TRUE(e.guards_intact());
}

// "MARS" is 16 pixels wide and 6 high, drawn from (sx - 8, sy - 8), and must
// keep a pixel clear of the right and bottom edges.
TEST(SkyLabels, DrawnOnlyWhenTheyFit)
{
    struct Case {
        int32_t sx, sy;
        bool drawn;
    };
    for (Case k : {Case{8, 8, true}, Case{7, 8, false}, Case{63, 20, true}, Case{64, 20, false}, Case{30, 42, false},
                   Case{-(1 << 30), 5, false}}) {
        SkyCanvas c(72, 40);
        draw_label(c.frame, k.sx, k.sy, "MARS");
        EXPECT_EQ(c.count(31) > 0, k.drawn) << k.sx << "," << k.sy;
    }
}

// A 640 x 480 sky from the ephemeris, the camera aimed at body k.
struct SkyScene : SkyCanvas {
    TimeState time;
    SkyScene(int y, int mo, int d, int h, int mi, double lat, double lon, int32_t k, double magnification)
        : SkyCanvas(640, 480)
    {
        set_clock(time, {y, mo, d, h, mi, 0});
        view.viewpos = position_at_degrees(lat, lon);
        Vec3 p = k == moon_index ? moon_position(time.instant, view.viewpos)
                                 : planet_position(k, time.instant, view.viewpos) - planet_position(moon_index, time.instant, view.viewpos);
        double c = std::cos(time.instant.sidereal_angle), s = std::sin(time.instant.sidereal_angle);
        view_look_at(view, p.x * c + p.z * s, p.y, p.z * c - p.x * s);
        set_zoom(view, 640 * magnification);
        draw_sky(view, frame, spans, time.instant, Stars{}, false);
    }
};

// Jupiter at opposition, far from the Sun and the Moon, at the centre.
TEST(SkyBodies, PlanetsAreDotsBelowMagnificationFour)
{
    constexpr uint8_t jupiter = 175;
    SkyScene dot(2023, 11, 3, 4, 0, 41.7, -71.5, 4, 3.99);
    EXPECT_EQ(dot.count(jupiter), 9);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) EXPECT_EQ(dot.at(320 + dx, 240 + dy), jupiter);

    SkyScene disc(2023, 11, 3, 4, 0, 41.7, -71.5, 4, 4);
    EXPECT_LT(disc.count(jupiter), 9);

    // 400 times: a disc about 40 pixels across, lit almost all over.
    SkyScene big(2023, 11, 3, 4, 0, 41.7, -71.5, 4, 400);
    double r = 88750 * 5e-07 / length(planet_position(4, big.time.instant, big.view.viewpos) -
                                      planet_position(moon_index, big.time.instant, big.view.viewpos)) * big.view.zoom_half;
    EXPECT_NEAR(big.count(jupiter), std::numbers::pi * r * r, 0.05 * std::numbers::pi * r * r);
    EXPECT_LT(big.count(jupiter - 8), 0.01 * std::numbers::pi * r * r);

    // The name, centred 8 rows above.
    SkyScene named(2023, 11, 3, 4, 0, 41.7, -71.5, 4, 1);
    draw_sky(named.view, named.frame, named.spans, named.time.instant, Stars{}, true);
    SkyCanvas text(640, 480);
    drawtext(text.frame, 320 - 14, 240 - 8, 31, -1, "JUPITER");
    for (int32_t y = 230; y < 240; ++y)
        for (int32_t x = 300; x < 340; ++x) EXPECT_EQ(named.at(x, y) == 31, text.at(x, y) == 31) << x << "," << y;
}

// The total solar eclipse of 1999 August 11 from its greatest eclipse in
// Romania: the nearer Moon covers the Sun with its dark side.
TEST(SkyBodies, NearerBodiesCoverFartherOnes)
{
    SkyScene c(1999, 8, 11, 11, 3, 45.07, 24.30, sun_index, 50);
    EXPECT_EQ(c.at(320, 240), 135);
    EXPECT_EQ(c.count(143), 0);
    double r = 2160 * 5e-07 / length(moon_position(c.time.instant, c.view.viewpos)) * c.view.zoom_half;
    EXPECT_NEAR(c.count(135), std::numbers::pi * r * r, 0.05 * std::numbers::pi * r * r);
    EXPECT_LT(c.count(254), 0.1 * std::numbers::pi * r * r);
}

}  // namespace
