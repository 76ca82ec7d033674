#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "raster/text.h"
#include "sky/clock.h"
#include "sky/ephemeris.h"
#include "sky/sky.h"
#include "sky_canvas.h"

namespace {

Stars catalogue(std::initializer_list<std::array<float, 4>> stars)
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

// At magnification 1 a star 45 degrees right of the line of sight falls on
// column 640, one past the frame; 45 degrees left on column 0.
TEST(SkyStars, ScreenEdges)
{
    const float r = static_cast<float>(std::sqrt(0.5));
    SkyCanvas c(640, 480);
    stars_on(c, catalogue({{r, 0, r, 255}, {-r, 0, r, 255}, {0, 0.6f, 0.8f, 255}, {0, -0.6f, 0.8f, 255}}));
    EXPECT_EQ(c.at(0, 240), 63);
    EXPECT_EQ(c.at(320, 0), 63);
    EXPECT_EQ(c.count(63), 2);
    EXPECT_TRUE(c.guards_intact());

    // Behind the viewer, or outside the cone through the corners.
    SkyCanvas d(640, 480);
    stars_on(d, catalogue({{0, 0, -1, 255}, {1, 0, 0, 255}, {0.8f, 0.6f, 0.1f, 255}}));
    EXPECT_EQ(d.count(0), 640 * 480);
}

TEST(SkyStars, BrightenOnlyTheGreyRamp)
{
    SkyCanvas c(64, 48);
    c.at(32, 24) = 60;
    stars_on(c, catalogue({{0, 0, 1, 255}}));
    EXPECT_EQ(c.at(32, 24), 63);

    for (uint8_t under : {64, 65, 143, 254, 255}) {
        c.at(32, 24) = under;
        stars_on(c, catalogue({{0, 0, 1, 255}}));
        EXPECT_EQ(c.at(32, 24), under);
    }

    // A quarter of the brightness, added up by several stars to the cap.
    c.at(32, 24) = 0;
    stars_on(c, catalogue({{0, 0, 1, 103}}));
    EXPECT_EQ(c.at(32, 24), 25);
    stars_on(c, catalogue({{0, 0, 1, 3}}));
    EXPECT_EQ(c.at(32, 24), 25);
    stars_on(c, catalogue({{0, 0, 1, 80}, {0, 0, 1, 80}}));
    EXPECT_EQ(c.at(32, 24), 63);
}

// The camera turns with the sidereal angle: a star at right ascension 0h on
// the equator lies over longitude 0 at angle 0 and drifts west after.
TEST(SkyStars, TurnWithTheSiderealAngle)
{
    const double s = 0.3;
    SkyCanvas c(64, 48);
    c.view.viewfwd = {std::sin(s), 0, -std::cos(s)};
    c.view.viewright = {std::cos(s), 0, std::sin(s)};
    c.view.viewdown = cross(c.view.viewfwd, c.view.viewright);
    stars_on(c, catalogue({{0, 0, -1, 255}}), -s);
    EXPECT_EQ(c.at(32, 24), 63);
}

TEST(SkyDots, CoverOnlyDarkerSky)
{
    SkyCanvas c(20, 20);
    c.at(5, 5) = 46;
    c.at(6, 5) = 47;
    c.at(4, 4) = 200;
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

    // In a corner: what lies inside is drawn, nothing outside.
    SkyCanvas e(20, 20);
    draw_dot(e.frame, 0, 19, 159);
    draw_dot(e.frame, 20, 5, 159);
    EXPECT_EQ(e.count(159), 4 + 3);
    EXPECT_TRUE(e.guards_intact());
}

int label_pixels(SkyCanvas& c)
{
    return c.count(31);
}

// "MARS" is 16 pixels wide and 6 high, drawn from (sx - 8, sy - 8); it must
// keep a pixel clear of the right and bottom edges.
TEST(SkyLabels, DrawnOnlyWhenTheyFit)
{
    struct Case {
        int32_t sx, sy;
        bool drawn;
    };
    for (Case k : {Case{8, 8, true}, Case{7, 8, false}, Case{8, 7, false}, Case{63, 20, true},
                   Case{64, 20, false}, Case{30, 41, true}, Case{30, 42, false}, Case{-1000000, 5, false},
                   Case{1 << 30, 1 << 30, false}}) {
        SkyCanvas c(72, 40);
        draw_label(c.frame, k.sx, k.sy, "MARS");
        EXPECT_EQ(label_pixels(c) > 0, k.drawn) << k.sx << "," << k.sy;
        EXPECT_TRUE(c.guards_intact());
    }
}

// The moment y-m-d h:mi UT.
TimeState moment_ut(int y, int mo, int d, int h, int mi)
{
    TimeState t;
    t.clock_year = y;
    t.clock_month = mo;
    t.clock_day = d;
    t.clock_hour = h;
    t.clock_minute = mi;
    update_time(t, 0, CivilTime{});
    return t;
}

Vec3 place(double lat, double lon, double r)
{
    const double deg = std::numbers::pi / 180;
    double phi = -lat * deg, lambda = lon * deg;
    return Vec3{std::sin(lambda) * std::cos(phi), std::sin(phi), -std::cos(phi) * std::cos(lambda)} * r;
}

// Points the camera at body k as seen from the eye.
void aim_at(View& view, int32_t k, const TimeState& t)
{
    Vec3 p = k == moon_index ? moon_position(t, view.viewpos)
                             : planet_position(k, t, view.viewpos) - planet_position(moon_index, t, view.viewpos);
    double s = t.sidereal_angle;
    view_look_at(view, p.x * std::cos(s) + p.z * std::sin(s), p.y, p.z * std::cos(s) - p.x * std::sin(s));
}

struct SkyScene : SkyCanvas {
    TimeState time;
    Stars none;
    SkyScene(const TimeState& t, const Vec3& eye, int32_t target, double magnification) : SkyCanvas(640, 480), time(t)
    {
        view.viewpos = eye;
        aim_at(view, target, time);
        set_zoom(view, 640 * magnification);
        view.show_labels = 0;
    }
    void draw() { draw_sky(view, frame, spans, time, none); }
};

// Jupiter, far from the Sun and the Moon on this date, at the centre of the view.
TEST(SkyBodies, PlanetsAreDotsBelowMagnificationFour)
{
    TimeState t = moment_ut(2023, 11, 3, 4, 0);  // opposition
    Vec3 eye = place(41.7, -71.5, 1.001);
    constexpr uint8_t jupiter = 175;

    SkyScene dot(t, eye, 4, 3.99);
    dot.draw();
    EXPECT_EQ(dot.count(jupiter), 9);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) EXPECT_EQ(dot.at(320 + dx, 240 + dy), jupiter);

    SkyScene disc(t, eye, 4, 4);
    disc.draw();
    EXPECT_LT(disc.count(jupiter), 9);

    // Magnified 400 times Jupiter's disc is about 40 pixels across, lit
    // almost all over at opposition.
    SkyScene big(t, eye, 4, 400);
    big.draw();
    double radius = 88750 * 5e-07 / length(planet_position(4, t, eye) - planet_position(2, t, eye)) * big.view.zoom_half;
    double area = std::numbers::pi * radius * radius;
    EXPECT_NEAR(big.count(jupiter), area, 0.05 * area);
    EXPECT_LT(big.count(jupiter - 8), 0.01 * area);

    // The name stands 8 rows above the dot.
    SkyScene named(t, eye, 4, 1);
    named.view.show_labels = 1;
    named.draw();
    SkyCanvas text(640, 480);
    drawtext(text.frame, 320 - 14, 240 - 8, 31, -1, "JUPITER");
    for (int32_t y = 230; y < 240; ++y)
        for (int32_t x = 300; x < 340; ++x)
            EXPECT_EQ(named.at(x, y) == 31, text.at(x, y) == 31) << x << "," << y;
}

// The total solar eclipse of 1999 August 11 seen from its greatest
// eclipse in Romania: the Moon, nearer, covers the Sun with its dark side.
TEST(SkyBodies, NearerBodiesCoverFartherOnes)
{
    TimeState t = moment_ut(1999, 8, 11, 11, 3);
    SkyScene c(t, place(45.07, 24.30, 1.0), 9, 50);
    c.draw();
    EXPECT_EQ(c.at(320, 240), 135);
    EXPECT_EQ(c.count(143), 0);
    double moon_radius = 2160 * 5e-07 / length(moon_position(t, c.view.viewpos)) * c.view.zoom_half;
    double area = std::numbers::pi * moon_radius * moon_radius;
    EXPECT_NEAR(c.count(135), area, 0.05 * area);
    // At most a sliver of the Sun shows beside the Moon.
    EXPECT_LT(c.count(254), 0.1 * area);
}

// With the Sun behind the viewer the Moon is full: the total lunar eclipse of
// 2000 July 16 with the Moon overhead in the Pacific.
TEST(SkyBodies, FullMoonOppositeTheSun)
{
    TimeState t = moment_ut(2000, 7, 16, 13, 56);
    Vec3 geo = moon_position(t, Vec3{});
    double s = t.sidereal_angle;
    Vec3 below = Vec3{geo.x * std::cos(s) + geo.z * std::sin(s), geo.y, geo.z * std::cos(s) - geo.x * std::sin(s)};
    SkyScene c(t, below * (1.001 / length(below)), moon_index, 50);
    c.draw();
    EXPECT_EQ(c.count(135), 0);
    EXPECT_GT(c.count(143), 10000);
}

}  // namespace
