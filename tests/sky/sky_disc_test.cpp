#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sky/sky.h"
#include "sky_canvas.h"

namespace {

constexpr double moon_distance = 0.24;  // million miles
constexpr double moon_diameter = 2160;  // miles
constexpr uint8_t lit = 143;
constexpr uint8_t dark = 135;

// The Moon straight ahead, 60 pixels in radius on a 320 x 240 frame.
struct MoonCanvas : SkyCanvas {
    double radius;
    MoonCanvas() : SkyCanvas(320, 240)
    {
        double rho = moon_diameter / moon_distance * 5e-07;
        set_zoom(view, 2 * 60 / rho);
        radius = view.zoom_half * std::tan(std::asin(rho));
    }
    void draw(const Vec3& p, const Vec3& to_sun) { draw_disc(view, frame, spans, p, to_sun, moon_diameter, lit); }
    void draw_ahead(const Vec3& to_sun) { draw({0, 0, moon_distance}, to_sun); }
};

TEST(SkyDisc, LightFromBehindTheViewerOrTheBodyFillsOneColour)
{
    MoonCanvas full;
    full.draw_ahead({0, 0, -93});  // the Sun behind the viewer
    double area = std::numbers::pi * full.radius * full.radius;
    EXPECT_NEAR(full.count(lit), area, 0.03 * area);
    EXPECT_EQ(full.count(dark), 0);
    EXPECT_EQ(full.at(160, 120), lit);
    EXPECT_EQ(full.at(160 + 58, 120), lit);
    EXPECT_EQ(full.at(160 + 63, 120), 0);

    MoonCanvas fresh;
    fresh.draw_ahead({0, 0, 93});  // the Sun behind the Moon
    EXPECT_NEAR(fresh.count(dark), area, 0.03 * area);
    EXPECT_EQ(fresh.count(lit), 0);

    // Slightly off the line, still within the disc's own angular radius.
    MoonCanvas nearly;
    nearly.draw_ahead({0.3, -0.2, -93});
    EXPECT_EQ(nearly.count(dark), 0);
    EXPECT_NEAR(nearly.count(lit), area, 0.03 * area);
}

TEST(SkyDisc, TheSunIsLitAllOver)
{
    SkyCanvas c(320, 240);
    Vec3 sun = {0.1, -0.05, 91};
    double rho = 864898 / length(sun) * 5e-07;
    set_zoom(c.view, 2 * 50 / rho);
    draw_disc(c.view, c.frame, c.spans, sun, Vec3{}, 864898, 254);
    double r = c.view.zoom_half * std::tan(std::asin(rho));
    double area = std::numbers::pi * r * r;
    EXPECT_NEAR(c.count(254), area, 0.03 * area);
    EXPECT_EQ(c.count(246), 0);
    EXPECT_TRUE(c.guards_intact());
}

// The lit share of the disc is (1 + cos i) / 2 for the phase angle i (Sun,
// body, viewer), and the lit limb faces the Sun whichever way it lies.
TEST(SkyDisc, LitShareFollowsThePhaseAngle)
{
    const double deg = std::numbers::pi / 180;
    struct Direction {
        double r, d;
    };
    for (Direction dir : {Direction{1, 0}, Direction{-1, 0}, Direction{0, -1}, Direction{0, 1}}) {
        // 90 degrees: the terminator is seen edge-on and its conic degenerates.
        for (double phase : {20.0, 45.0, 89.99999, 90.0, 90.00001, 135.0, 160.0}) {
            MoonCanvas c;
            double s = std::sin(phase * deg), k = std::cos(phase * deg);
            c.draw_ahead(Vec3{dir.r * s, dir.d * s, -k} * 93);
            int n_lit = c.count(lit), n_dark = c.count(dark);
            double share = static_cast<double>(n_lit) / (n_lit + n_dark);
            EXPECT_NEAR(share, (1 + k) / 2, 0.02) << "phase " << phase << " towards " << dir.r << "," << dir.d;
            auto limb = [&](double sign) {
                return c.at(160 + static_cast<int>(sign * 57 * dir.r), 120 + static_cast<int>(sign * 57 * dir.d));
            };
            EXPECT_EQ(limb(1), lit) << "phase " << phase;
            EXPECT_EQ(limb(-1), dark) << "phase " << phase;
            if (std::fabs(phase - 90) > 1) EXPECT_EQ(c.at(160, 120), phase < 90 ? lit : dark) << "phase " << phase;
        }
    }
}

TEST(SkyDisc, ClippedToTheFrame)
{
    // Centred 20 pixels left of the frame, at the top edge, at the bottom right corner.
    struct Centre {
        double x, y;
    };
    for (Centre at : {Centre{-20, 120}, Centre{160, 0}, Centre{319, 239}, Centre{330, 250}}) {
        MoonCanvas c;
        double z = moon_distance;
        Vec3 p = {(at.x - 160) / c.view.zoom_half * z, (at.y - 120) / c.view.zoom_half * z, z};
        c.draw(p, Vec3{1, 0, -1} * 93);
        EXPECT_TRUE(c.guards_intact()) << at.x << "," << at.y;
        int drawn = c.count(lit) + c.count(dark);
        EXPECT_GT(drawn, 0);
        for (int32_t y = 0; y < c.height; ++y)
            for (int32_t x = 0; x < c.width; ++x) {
                double dx = x - at.x, dy = y - at.y;
                if (dx * dx + dy * dy > 65 * 65) ASSERT_EQ(c.at(x, y), 0) << x << "," << y;
                if (dx * dx + dy * dy < 55 * 55) ASSERT_NE(c.at(x, y), 0) << x << "," << y;
            }
    }
}

TEST(SkyDisc, NothingAtOrBehindTheViewersPlane)
{
    for (double z : {0.0, -moon_distance}) {
        MoonCanvas c;
        c.draw({0, 0, z}, {0, 0, -93});
        EXPECT_EQ(c.count(0), c.width * c.height);
    }
}

// Spans left over from earlier renderers do not leak into the disc.
TEST(SkyDisc, StartsFromEmptySpanLists)
{
    MoonCanvas c;
    for (int32_t y = 0; y < c.height; ++y) {
        c.spans.push(y, 0);
        c.spans.push(y, 320);
    }
    c.draw_ahead({0, 0, -93});
    EXPECT_EQ(c.at(5, 120), 0);
    EXPECT_EQ(c.at(160, 120), lit);
}

}  // namespace
