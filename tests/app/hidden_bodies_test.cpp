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
    const Vec3 sun = body_direction(sun_index, app.time, cam.viewpos);
    cam.viewpos = sun * (-(earth_radius_miles + 300) / earth_radius_miles / length(sun));
    view_look_at(cam, sun.x, sun.y, sun.z);
    v.frame();
    int sun_pixels = 0, text_pixels = 0;
    for (int32_t y = 60; y < 180; ++y)
        for (int32_t x = 60; x < 260; ++x) {
            sun_pixels += v.platform.frame_row(y)[x] == body_colour[sun_index];
            text_pixels += v.platform.frame_row(y)[x] == 31;
        }
    EXPECT_EQ(sun_pixels, 0);
    EXPECT_EQ(text_pixels, 0);
    // Over the point beneath the Sun, looking up, it shows with its name.
    cam.viewpos = sun * ((earth_radius_miles + 300) / earth_radius_miles / length(sun));
    v.frame();
    sun_pixels = text_pixels = 0;
    for (int32_t y = 60; y < 180; ++y)
        for (int32_t x = 60; x < 260; ++x) {
            sun_pixels += v.platform.frame_row(y)[x] == body_colour[sun_index];
            text_pixels += v.platform.frame_row(y)[x] == 31;
        }
    EXPECT_GT(sun_pixels, 0);
    EXPECT_GT(text_pixels, 10);
}
