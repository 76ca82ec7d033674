#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/status.h"
#include "core/constants.h"
#include "platform/scan_codes.h"
#include "support/headless_viewer.h"

namespace {

using namespace dik;

double miles(double radii) { return radii * earth_radius_miles; }

// The viewer at home on the floor after its first frames, free flight when asked.
HeadlessViewer at_home(bool free_flight)
{
    HeadlessViewer v;
    v.frame();
    v.frame();
    if (free_flight) v.frame_with({g});
    return v;
}

}  // namespace

// A frame that lasts seconds, as after a stopped process or a hidden page,
// moves the eye as a quarter of a second would, the floor kept all along.
TEST(Motion, LongFrameKeepsTheEyeAtTheFloor)
{
    const struct {
        const char* name;
        bool free_flight;
        uint8_t key;  // held through the long frame, 0 for none
        double least_miles, most_miles;  // how far the eye goes
        double most_rise;  // above the floor: a straight flight leaves the curved ground
    } cases[] = {
        {"orbit, at rest", false, 0, 0, 1, 1},
        {"orbit, thrust into the ground", false, numpad0, 0, 1, 1},
        {"free flight, into the ground", true, numpad0, 0, 1, 1},
        {"free flight, forward", true, up, miles(250 / 2048.0) - 20, miles(250 / 2048.0) + 1, 30},
    };
    for (const auto& c : cases) {
        HeadlessViewer v = at_home(c.free_flight);
        const Vec3 start = v.app->view.camera.viewpos;
        v.platform.ms_per_frame = 5000;
        if (c.key) v.platform.press({c.key});
        v.frame();
        const Vec3 end = v.app->view.camera.viewpos;
        EXPECT_GE(miles(length(end)), miles(v.app->view.min_dist) - 1e-6) << c.name;
        EXPECT_LE(miles(length(end)), miles(v.app->view.min_dist) + c.most_rise) << c.name;
        EXPECT_LE(miles(length(end - start)), c.most_miles) << c.name;
        EXPECT_GE(miles(length(end - start)), c.least_miles) << c.name;
    }
}

// Within the bound, one long frame moves the eye as the same time in 16 ms
// frames does: the motion does not depend on the frame rate.
TEST(Motion, OneLongFrameMovesAsShortOnes)
{
    for (const uint8_t key : {left, up}) {
        HeadlessViewer one = at_home(false), many = at_home(false);
        for (HeadlessViewer* v : {&one, &many}) {
            v->app->view.camera.viewpos = v->app->view.camera.viewpos * 1.5;
            v->app->view.auto_level = 0;
            v->platform.press({key});
        }
        one.platform.ms_per_frame = 240;
        one.frame();
        for (int i = 0; i < 15; ++i) many.frame();
        EXPECT_LT(length(one.app->view.camera.viewpos - many.app->view.camera.viewpos), 1e-9);
        EXPECT_LT(length(one.app->view.camera.viewvel - many.app->view.camera.viewvel), 1e-12);
    }
}

// The speed line's percentage of the speed of light against the eye's
// measured motion from frame to frame, well clear of the floor.
TEST(Motion, SpeedLineMatchesTheMeasuredMotion)
{
    HeadlessViewer v = at_home(false);
    v.app->view.camera.viewpos = v.app->view.camera.viewpos * 3;
    v.platform.press({left});
    for (int i = 0; i < 20; ++i) v.frame();
    v.platform.release({left});
    v.frame();
    for (int i = 0; i < 5; ++i) {
        const Vec3 before = v.app->view.camera.viewpos;
        v.frame();
        const double shown = std::strtod(speed_line(v.app->view.camera.viewvel).c_str(), nullptr);
        const double miles_per_second = miles(length(v.app->view.camera.viewpos - before)) / 0.016;
        EXPECT_GT(shown, 1e-3);
        EXPECT_NEAR(shown, miles_per_second / 186282.3976 * 100, shown * 1e-3);
    }
}

// Space stops the eye, though an orbit's pull acts again in the same frame;
// G stops it as it leaves orbit for free flight, which keeps no speed.
TEST(Motion, SpaceAndLeavingOrbitStopTheEye)
{
    for (const uint8_t key : {space, g}) {
        HeadlessViewer v = at_home(false);
        v.app->view.camera.viewpos = v.app->view.camera.viewpos * 1.5;
        for (int i = 0; i < 40; ++i) v.frame_with({up});
        const double before = length(v.app->view.camera.viewvel);
        ASSERT_GT(before, 0) << int{key};
        v.frame_with({key});
        EXPECT_LE(length(v.app->view.camera.viewvel), key == g ? 0 : before / 10) << int{key};
        EXPECT_EQ(v.app->view.orbit_mode, key == g ? 0 : 1) << int{key};
    }
}

// In free flight a frame's keys move the eye straight: 1/2048 of a radius a
// millisecond, four times that with left Shift, 32 times with right Shift.
TEST(Motion, ShiftKeysScaleFreeFlight)
{
    const struct {
        std::initializer_list<uint8_t> keys;
        double radii_per_ms;
    } cases[] = {{{up}, 1 / 2048.0}, {{up, lshift}, 1 / 512.0}, {{up, rshift}, 1 / 64.0}};
    for (const auto& c : cases) {
        HeadlessViewer v = at_home(true);
        v.app->view.camera.viewpos = v.app->view.camera.viewpos * 3;
        v.app->view.auto_level = 0;
        const Vec3 before = v.app->view.camera.viewpos;
        v.frame_with(c.keys);
        EXPECT_NEAR(length(v.app->view.camera.viewpos - before), v.platform.ms_per_frame * c.radii_per_ms, 1e-12)
            << c.radii_per_ms;
    }
}
