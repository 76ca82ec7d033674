#include "sky/sky.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "app/view_ops.h"
#include "sky/ephemeris.h"
#include "support/test_frame.h"

// Positions, phases and whole frames are compared with PyEphem in
// test_sky.py; these are the edges, the ramps and the degenerate cases.

namespace {

constexpr uint8_t lit = 143, dark = 135;
constexpr double pi = std::numbers::pi;

// A w x h frame looking along +z (+x right, +y down) at magnification mag.
struct SkyFrame : TestFrame {
    Camera view;
    SkyFrame(int32_t w, int32_t h, double mag = 1) : TestFrame(w, h), view(look_at(w, h, {}, {0, 0, 1}, 0, mag)) {}
};

// The Moon 0.24 million miles away, 60 pixels in radius, centred at (x, y)
// of 320 x 240, drawn over stale spans.
struct MoonFrame : SkyFrame {
    static constexpr double rho = 2160 / 0.24 * 5e-07;
    double area = pi * std::pow(60 / rho * std::tan(std::asin(rho)), 2);
    MoonFrame(Vec3 to_sun, double x = 160, double y = 120) : SkyFrame(320, 240, 2 * 60 / rho / 320)
    {
        for (int32_t row = 0; row < height(); ++row) spans.push(row, 0), spans.push(row, 320);
        const Vec3 p = {(x - 160) / view.zoom_half * 0.24, (y - 120) / view.zoom_half * 0.24, 0.24};
        draw_disc(view, frame, spans, p, to_sun * 93, 2160, lit);
    }
};

}  // namespace

// The lit share is (1 + cos i) / 2 for the phase angle i, the lit limb faces
// the Sun whichever way it lies, and at 90 degrees the terminator's conic
// degenerates. Light from straight behind or in front gives one colour.
TEST(SkyDisc, LitShareFollowsThePhaseAngle)
{
    // Every phase covers the same pixels, the limb's.
    const MoonFrame half(Vec3{1, 0, -1});
    const int disc = half.count(lit) + half.count(dark);
    EXPECT_NEAR(disc, half.area, 0.03 * half.area);
    for (Vec3 dir : {Vec3{1, 0, 0}, Vec3{-1, 0, 0}, Vec3{0, -1, 0}, Vec3{0, 1, 0}})
        for (double phase : {0.0, 0.2, 20.0, 45.0, 89.99999, 90.0, 90.00001, 135.0, 160.0, 180.0}) {
            const double s = std::sin(phase * pi / 180), k = std::cos(phase * pi / 180);
            MoonFrame m(dir * s + Vec3{0, 0, -k});
            const int on = m.count(lit), off = m.count(dark);
            EXPECT_EQ(on + off, disc) << phase;
            EXPECT_NEAR(on / double(on + off), (1 + k) / 2, 0.02) << phase;
            const int32_t x = 160 + int(57 * dir.x), y = 120 + int(57 * dir.y);
            EXPECT_TRUE(phase < 1 || phase > 179 || (m.at(x, y) == lit && m.at(320 - x, 240 - y) == dark)) << phase;
            EXPECT_TRUE(std::fabs(phase - 90) < 1 || m.at(160, 120) == (phase < 90 ? lit : dark)) << phase;
        }
}

// Pixel by pixel against a sphere lit from one side: a ray through the
// pixel that meets it shows lit where the surface faces the Sun. Bodies off
// the line of sight, in a wide view, with the light from every side; only
// pixels whose neighbours all agree are compared, as the edges may round
// either way.
TEST(SkyDisc, PaintsTheLitAndDarkPartsOfASphereAsRaysSeeThem)
{
    const auto model = [](const Camera& v, const Vec3& p, double radius, const Vec3& sun, double x, double y) {
        const Vec3 w = pixel_ray(v, x, y), e = p * (-1 / radius);
        const double b = dot(e, w), ww = dot(w, w), d = b * b - ww * (dot(e, e) - 1);
        if (d < 0) return uint8_t{0};
        const Vec3 normal = e + w * ((-b - std::sqrt(d)) / ww);
        return dot(normal, sun) > 0 ? lit : dark;
    };
    for (int i = 0; i < 24; ++i) {
        const double a = i * 0.7, b = i * 1.9;
        const Vec3 sun = {std::cos(a) * std::cos(b), std::sin(b), std::sin(a) * std::cos(b)};
        const Vec3 p = i % 2 ? Vec3{0.08 * std::cos(a), 0.06 * std::sin(b), 0.24} : Vec3{0, 0, 0.24};
        SkyFrame s(320, 240, i % 2 ? 1.5 : 80);
        const double diameter = i % 2 ? 86000 : 2160;
        draw_disc(s.view, s.frame, s.spans, p, sun * 93, diameter, lit);
        int wrong = 0, compared = 0;
        for (int32_t y = 0; y < 240; ++y)
            for (int32_t x = 0; x < 320; ++x) {
                const uint8_t c = model(s.view, p, diameter * 5e-07, sun, x, y);
                bool sure = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) sure = sure && model(s.view, p, diameter * 5e-07, sun, x + dx, y + dy) == c;
                compared += sure && c != 0;
                wrong += sure && s.at(x, y) != c;
            }
        EXPECT_EQ(wrong, 0) << i;
        EXPECT_GT(compared, 3000) << i;
    }
}

// A disc only a few pixels across, lit from the side so that its terminator
// is seen edge on: one vertical line through the centre parts the lit right
// from the dark left on every row, the shortest ones too.
TEST(SkyDisc, SmallDiscLitFromTheSideSplitsEveryRow)
{
    for (double radius : {1.2, 1.8, 2.5, 3.7})
        for (double cx : {160.2, 160.5, 160.8, 161.1}) {
            SkyFrame s(320, 240, 2 * radius / MoonFrame::rho / 320);
            const Vec3 p = {(cx - 160) / s.view.zoom_half * 0.24, 0, 0.24};
            draw_disc(s.view, s.frame, s.spans, p, cross({0, 1, 0}, p) * 1e3, 2160, lit);
            int32_t last_dark = -1, first_lit = 320;
            for (int32_t y = 0; y < 240; ++y)
                for (int32_t x = 0; x < 320; ++x) {
                    if (s.at(x, y) == dark) last_dark = std::max(last_dark, x);
                    if (s.at(x, y) == lit) first_lit = std::min(first_lit, x);
                }
            EXPECT_EQ(first_lit, last_dark + 1) << radius << " " << cx;
            EXPECT_NEAR(first_lit, cx, 1) << radius << " " << cx;
        }
}

TEST(SkyDisc, ClippedToTheFrameAndNothingInTheViewersPlaneOrBehind)
{
    for (auto [cx, cy] : {std::pair{-20.0, 120.0}, {160.0, 0.0}, {319.0, 239.0}, {330.0, 250.0}}) {
        MoonFrame m(Vec3{1, 0, -1}, cx, cy);
        EXPECT_TRUE(m.guards_intact());
        int wrong = 0;
        for (int32_t y = 0; y < 240; ++y)
            for (int32_t x = 0; x < 320; ++x) {
                const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                wrong += d2 > 62 * 62 ? m.at(x, y) != 0 : d2 < 58 * 58 && m.at(x, y) == 0;
            }
        EXPECT_EQ(wrong, 0) << cx << "," << cy;
    }
    SkyFrame behind(320, 240);
    draw_disc(behind.view, behind.frame, behind.spans, {0, 0, 0}, {0, 0, -93}, 2160, lit);
    draw_disc(behind.view, behind.frame, behind.spans, {0, 0, -0.24}, {0, 0, -93}, 2160, lit);
    EXPECT_EQ(behind.count(0), 320 * 240);
}

// A star 45 degrees right of the line of sight falls one column past the
// frame, 45 degrees left on column 0; stars behind the viewer or outside the
// corners' cone are skipped. A quarter of the brightness is added, stars add
// up, the ramp stops at 63 and pixels of 64 and more are never touched; an
// empty catalogue draws none. At
// sidereal angle -s the star at 0h on the equator stands over longitude s.
TEST(SkyStars, EdgesAndTheGreyRamp)
{
    const float h = static_cast<float>(std::sqrt(0.5));
    SkyFrame c(640, 480);
    draw_stars(c.view, c.frame, sky_camera(c.view, c.frame, 0),
               Stars{{h, 0, h, -h, 0, h, 0, 0.6f, 0.8f, 0, -0.6f, 0.8f, 0, 0, -1, 0.8f, 0.6f, 0.1f},
                     std::vector<uint8_t>(6, 255)});
    EXPECT_EQ(c.at(0, 240) + c.at(320, 0), 2 * 63);
    EXPECT_EQ(c.count(63), 2);
    EXPECT_TRUE(c.guards_intact());

    const Stars ahead{{0, 0, 1}, {255}}, dim{{0, 0, 1}, {103}}, twice{{0, 0, 1, 0, 0, 1}, {160, 160}};
    for (auto [under, stars, after, turn] : {std::tuple{60, ahead, 63, 0.0}, {0, dim, 25, 0}, {0, twice, 63, 0},
                                             {64, ahead, 64, 0}, {0, Stars{{0, 0, -1}, {255}}, 63, 0.3},
                                             {0, Stars{}, 0, 0}}) {
        TestFrame one(64, 48, static_cast<uint8_t>(under));
        const Camera view = look_at(64, 48, {}, {std::sin(turn), 0, turn ? -std::cos(turn) : 1});
        draw_stars(view, one.frame, sky_camera(view, one.frame, -turn), stars);
        EXPECT_EQ(one.at(32, 24), after) << under << " " << turn;
    }
}

// A dot covers only darker sky (below its colour's low six bits) and clips
// at the edges, the top row kept; "MARS", 16 x 6 pixels from (sx - 8,
// sy - 8), is drawn only a pixel clear of the right and bottom edges.
TEST(SkyDots, CoverOnlyDarkerSkyAndLabelsOnlyWhereTheyFit)
{
    TestFrame c(20, 20);
    c.at(5, 5) = 46, c.at(6, 5) = 47, c.at(4, 4) = 200, c.at(10, 10) = 63;
    draw_dot(c.frame, 5, 5, 111);
    draw_dot(c.frame, 10, 10, 127);
    draw_dot(c.frame, 0, 19, 159);
    draw_dot(c.frame, 20, 5, 159);
    draw_dot(c.frame, 15, 0, 175);
    EXPECT_EQ(c.at(5, 5), 111);
    for (auto [colour, n] : {std::pair{111, 7}, {127, 8}, {159, 7}, {175, 6}, {47, 1}, {200, 1}, {63, 1}})
        EXPECT_EQ(c.count(static_cast<uint8_t>(colour)), n) << colour;
    EXPECT_TRUE(c.guards_intact());

    for (auto [sx, sy, drawn] : {std::tuple{8, 8, true}, {7, 8, false}, {8, 7, false}, {63, 20, true}, {64, 20, false},
                                 {30, 41, true}, {30, 42, false}, {-(1 << 30), 5, false}}) {
        TestFrame f(72, 40);
        draw_label(f.frame, sx, sy, "MARS");
        EXPECT_EQ(f.count(31) > 0, drawn) << sx << "," << sy;
    }
}

namespace {

// A 640 x 480 sky from the ephemeris, the camera aimed at body k; radius(k)
// is the body's radius in pixels.
struct SkyScene : TestFrame {
    TimeState time;
    Camera view;
    SkyScene(CivilTime ut, double lat, double lon, int32_t k, double mag) : TestFrame(640, 480)
    {
        set_clock(time, ut);
        const Vec3 eye = position_at_degrees(lat, lon);
        view = look_at(640, 480, eye, eye + body_direction(k, time.instant, eye), 0, mag);
        draw_sky(view, frame, spans, time.instant, Stars{}, false);
    }
    double radius(int32_t k, double diameter_miles) const
    {
        const Vec3 p = k == moon_index ? moon_position(time.instant, view.viewpos) : body_direction(k, time.instant, view.viewpos);
        return diameter_miles * 5e-07 / length(p) * view.zoom_half;
    }
};

}  // namespace

// Jupiter at opposition, far from the Sun and the Moon, at the centre: a dot
// below magnification 4, a disc lit almost all over from there on. In the
// total solar eclipse of 1999 August 11, from its greatest eclipse in Romania,
// the nearer Moon covers the Sun with its dark side.
TEST(SkyBodies, PlanetsAreDotsBelowMagnificationFourAndNearerBodiesCoverFartherOnes)
{
    constexpr uint8_t jupiter = 175;
    const CivilTime ut{2023, 11, 3, 4, 0, 0};
    SkyScene dot(ut, 41.7, -71.5, 4, 3.99);
    EXPECT_EQ(dot.count(jupiter), 9);
    EXPECT_EQ(dot.at(319, 239) + dot.at(321, 241), 2 * jupiter);
    EXPECT_LT(SkyScene(ut, 41.7, -71.5, 4, 4).count(jupiter), 9);
    SkyScene big(ut, 41.7, -71.5, 4, 400);
    const double area = pi * std::pow(big.radius(4, 88750), 2);
    EXPECT_NEAR(big.count(jupiter), area, 0.05 * area);
    EXPECT_LT(big.count(jupiter - 8), 0.01 * area);

    SkyScene eclipse({1999, 8, 11, 11, 3, 0}, 45.07, 24.30, sun_index, 50);
    EXPECT_EQ(eclipse.at(320, 240), dark);
    EXPECT_EQ(eclipse.count(lit), 0);
    const double moon = pi * std::pow(eclipse.radius(moon_index, 2160), 2);
    EXPECT_NEAR(eclipse.count(dark), moon, 0.05 * moon);
    EXPECT_LT(eclipse.count(254), 0.1 * moon);
}
