#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sky/sky.h"
#include "sky_canvas.h"

namespace {

constexpr uint8_t lit = 143, dark = 135;

// The Moon, 0.24 million miles away, 60 pixels in radius on a 320 x 240 frame.
struct MoonCanvas : SkyCanvas {
    double area;
    MoonCanvas() : SkyCanvas(320, 240)
    {
        double rho = 2160 / 0.24 * 5e-07;
        set_zoom(view, 2 * 60 / rho);
        double radius = view.zoom_half * std::tan(std::asin(rho));
        area = std::numbers::pi * radius * radius;
    }
    void draw(const Vec3& to_sun, double x = 160, double y = 120)
    {
        Vec3 p = {(x - 160) / view.zoom_half * 0.24, (y - 120) / view.zoom_half * 0.24, 0.24};
        draw_disc(view, frame, spans, p, to_sun, 2160, lit);
    }
};

TEST(SkyDisc, LightStraightBehindOrInFrontGivesOneColour)
{
    // The Sun behind the viewer (slightly off the line, within the Moon's
    // own radius), then behind the Moon.
    for (Vec3 to_sun : {Vec3{0, 0, -93}, Vec3{0.3, -0.2, -93}, Vec3{0, 0, 93}}) {
        MoonCanvas c;
        c.draw(to_sun);
        uint8_t all = to_sun.z < 0 ? lit : dark;
        EXPECT_NEAR(c.count(all), c.area, 0.03 * c.area);
        EXPECT_EQ(c.count(all == lit ? dark : lit), 0);
    }
    // The Sun itself, lit all over.
    SkyCanvas s(320, 240);
    Vec3 sun = {0.1, -0.05, 91};
    double rho = 864898 / length(sun) * 5e-07;
    set_zoom(s.view, 2 * 50 / rho);
    draw_disc(s.view, s.frame, s.spans, sun, Vec3{}, 864898, 254);
    EXPECT_NEAR(s.count(254), std::numbers::pi * 2500, 0.03 * std::numbers::pi * 2500);
    EXPECT_EQ(s.count(246), 0);
}

// The lit share of the disc is (1 + cos i) / 2 for the phase angle i (Sun,
// body, viewer), and the lit limb faces the Sun whichever way it lies. At 90
// degrees the terminator is seen edge-on and its conic degenerates.
TEST(SkyDisc, LitShareFollowsThePhaseAngle)
{
    struct Direction {
        int r, d;
    };
    for (Direction dir : {Direction{1, 0}, Direction{-1, 0}, Direction{0, -1}, Direction{0, 1}}) {
        for (double phase : {20.0, 45.0, 89.99999, 90.0, 90.00001, 135.0, 160.0}) {
            MoonCanvas c;
            double s = std::sin(phase * std::numbers::pi / 180), k = std::cos(phase * std::numbers::pi / 180);
            c.draw(Vec3{dir.r * s, dir.d * s, -k} * 93);
            double share = c.count(lit) / static_cast<double>(c.count(lit) + c.count(dark));
            EXPECT_NEAR(share, (1 + k) / 2, 0.02) << phase << " towards " << dir.r << "," << dir.d;
            EXPECT_EQ(c.at(160 + 57 * dir.r, 120 + 57 * dir.d), lit) << phase;
            EXPECT_EQ(c.at(160 - 57 * dir.r, 120 - 57 * dir.d), dark) << phase;
            if (std::fabs(phase - 90) > 1) {
                EXPECT_EQ(c.at(160, 120), phase < 90 ? lit : dark) << phase;
            }
        }
    }
}

TEST(SkyDisc, ClippedToTheFrameAndDrawnFromFreshSpans)
{
    for (auto [x, y] : {std::pair{-20.0, 120.0}, {160.0, 0.0}, {319.0, 239.0}, {330.0, 250.0}}) {
        MoonCanvas c;
        // Spans left by earlier renderers must not leak into the disc.
        for (int32_t row = 0; row < c.height; ++row) c.spans.push(row, 0), c.spans.push(row, 320);
        c.draw(Vec3{1, 0, -1} * 93, x, y);
        EXPECT_TRUE(c.guards_intact());
        for (int32_t py = 0; py < c.height; ++py)
            for (int32_t px = 0; px < c.width; ++px) {
                double d2 = (px - x) * (px - x) + (py - y) * (py - y);
                if (d2 > 62 * 62) {
                    ASSERT_EQ(c.at(px, py), 0) << px << "," << py;
                }
                if (d2 < 58 * 58) {
                    ASSERT_NE(c.at(px, py), 0) << px << "," << py;
                }
            }
    }
    // In the viewer's plane or behind it: nothing.
    MoonCanvas behind;
    draw_disc(behind.view, behind.frame, behind.spans, {0, 0, 0}, {0, 0, -93}, 2160, lit);
    draw_disc(behind.view, behind.frame, behind.spans, {0, 0, -0.24}, {0, 0, -93}, 2160, lit);
    EXPECT_EQ(behind.count(0), 320 * 240);
}

}  // namespace

// From 3 Earth radii looking at the centre the limb is 100 tan(asin(1/3)) =
// 35.355 pixels out on a 200-pixel frame. A disc of radius 10 centred on the
// limb shows only outside it when it lies beyond the Earth, all of it when it
// lies between the eye and the Earth, and nothing when wholly behind.
TEST(SkyDisc, TheEarthInFrontHidesWhatLiesBehindIt)
{
    const double limb = 100 * std::tan(std::asin(1.0 / 3));
    struct Case {
        double depth, centre_x;  // million miles; pixels right of the frame's centre
        bool expect_inside, expect_outside;
    } cases[] = {{1, limb, false, true}, {0.001, limb, true, true}, {1, 0, false, false}};
    for (const Case& c : cases) {
        SkyCanvas s(200, 200);
        s.view.viewpos = {0, 0, -3};
        const double diameter = 2 * 10 / s.view.zoom_half * c.depth / 5e-07;  // 10 pixels in radius
        const Vec3 p = {c.centre_x / s.view.zoom_half * c.depth, 0, c.depth};
        const int32_t painted = draw_disc(s.view, s.frame, s.spans, p, Vec3{}, diameter, 254);
        EXPECT_EQ(painted, s.count(254));
        int inside = 0, outside = 0;
        for (int32_t y = 0; y < 200; ++y)
            for (int32_t x = 0; x < 200; ++x) {
                if (s.at(x, y) != 254) continue;
                const double r = std::hypot(x - 100, y - 100);
                inside += r < limb - 1;
                outside += r > limb + 1;
            }
        EXPECT_EQ(inside > 0, c.expect_inside) << c.depth << " " << c.centre_x;
        EXPECT_EQ(outside > 0, c.expect_outside) << c.depth << " " << c.centre_x;
        EXPECT_EQ(earth_covers(s.view, 100, 100, c.depth), c.depth > 0.01);
    }
}
