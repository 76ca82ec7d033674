#include <gtest/gtest.h>

#include "app/track.h"
#include "app/view_ops.h"
#include "core/constants.h"
#include "sky/ephemeris.h"
#include "support/headless_viewer.h"

// At night, 300 miles up, looking down through the Earth at the Sun: neither
// its disc nor its name is painted over the land and sea.
TEST(HiddenBodies, TheSunBelowTheGroundLeavesTheGlobeAlone)
{
    HeadlessViewer v({"/320x240"});
    v.frame();
    App& app = *v.app;
    app.view.texture_loaded = 0;
    app.view.orbit_mode = app.view.auto_level = 0;
    Camera& cam = app.view.camera;
    const Vec3 sun = body_direction(sun_index, app.time.instant, cam.viewpos);
    cam.viewpos = sun * (-(earth_radius_miles + 300) / earth_radius_miles / length(sun));
    view_look_at(cam, sun.x, sun.y, sun.z);
    // Pixels of the Sun's colour and of the label colour around the centre.
    const auto count = [&](uint8_t colour) {
        int n = 0;
        for (int32_t y = 60; y < 180; ++y)
            for (int32_t x = 60; x < 260; ++x) n += v.platform.frame_row(y)[x] == colour;
        return n;
    };
    v.frame();
    EXPECT_EQ(count(body_colour[sun_index]), 0);
    EXPECT_EQ(count(31), 0);
    // Over the point beneath the Sun, looking up, it shows with its name.
    cam.viewpos = sun * ((earth_radius_miles + 300) / earth_radius_miles / length(sun));
    v.frame();
    EXPECT_GT(count(body_colour[sun_index]), 0);
    EXPECT_GT(count(31), 10);
}
