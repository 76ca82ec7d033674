#include <gtest/gtest.h>

#include <vector>

#include "app/view_ops.h"
#include "core/constants.h"
#include "earth/border_lines.h"
#include "earth/fill.h"
#include "earth/globe.h"
#include "platform/scan_codes.h"
#include "sky/ephemeris.h"
#include "support/headless_viewer.h"
#include "support/test_frame.h"

namespace {

std::vector<uint8_t> pixels(const HeadlessViewer& v)
{
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < v.platform.height; ++y)
        out.insert(out.end(), v.platform.frame_row(y), v.platform.frame_row(y) + v.platform.width);
    return out;
}

// Whether each pixel lies on the globe's disc.
std::vector<bool> disc_of(const App& app)
{
    TestFrame t(app.frame.frame_xres, app.frame.frame_yres);
    globespans(app.view.camera, t.frame, t.spans);
    std::vector<bool> disc;
    for (int32_t y = 0; y < t.height(); ++y)
        for (int32_t x = 0; x < t.width(); ++x)
            disc.push_back(t.spans.xpcnt[static_cast<size_t>(y)] == 2 && x >= t.spans.row(y)[0] &&
                           x < t.spans.row(y)[1]);
    return disc;
}

// One view drawn three ways: the textured globe, the same after K, and the
// filled globe, which always has its sky.
struct Frames {
    std::vector<uint8_t> plain, sky, filled;
    std::vector<bool> disc;
    SkyColours colours;
};

Frames draw_three(void (*place)(Camera&, const App&), bool labels)
{
    HeadlessViewer v({"/320x240"});
    v.platform.ms_per_frame = 0;
    v.frame();
    App& app = *v.app;
    EXPECT_TRUE(app.view.texture_loaded);
    EXPECT_FALSE(app.view.sky);
    app.settings.status_lines = 0;
    app.view.orbit_mode = app.view.auto_level = 0;
    app.view.show_labels = labels;
    place(app.view.camera, app);
    Frames f;
    v.frame();
    f.plain = pixels(v);
    v.frame_with({dik::k});
    EXPECT_TRUE(app.view.sky);
    f.sky = pixels(v);
    app.view.texture_loaded = false;
    v.frame();
    f.filled = pixels(v);
    f.disc = disc_of(app);
    f.colours = app.sky_layer.colours;
    return f;
}

bool globe_colour(uint8_t c) { return c == 0 || c == land_colour || c == sea_colour || c == border_colour; }

// Where the filled frame shows the globe or empty space, the textured frame
// with its sky shows the plain one; elsewhere the filled frame's sky, in the
// colours the palette shows.
void expect_sky_of_the_filled_globe(const Frames& f, const char* name)
{
    int differ = 0;
    for (size_t i = 0; i < f.sky.size(); ++i) {
        const uint8_t want = globe_colour(f.filled[i]) ? f.plain[i] : f.colours[f.filled[i]];
        differ += f.sky[i] != want;
    }
    EXPECT_EQ(differ, 0) << name;
}

int count(const Frames& f, bool on_disc, uint8_t colour)
{
    int n = 0;
    for (size_t i = 0; i < f.sky.size(); ++i) n += f.disc[i] == on_disc && f.sky[i] == colour;
    return n;
}

int changed(const Frames& f, bool on_disc)
{
    int n = 0;
    for (size_t i = 0; i < f.sky.size(); ++i) n += f.disc[i] == on_disc && f.sky[i] != f.plain[i];
    return n;
}

// 300 miles up, the Sun straight above (side 1) or straight below through the Earth (side -1).
void towards_the_sun(Camera& camera, const App& app, double side)
{
    const Vec3 sun = body_direction(sun_index, app.time.instant, camera.viewpos);
    camera.viewpos = sun * (side * (earth_radius_miles + 300) / earth_radius_miles / length(sun));
    view_look_at(camera, sun.x, sun.y, sun.z);
}
void sun_overhead(Camera& camera, const App& app) { towards_the_sun(camera, app, 1); }
void sun_underfoot(Camera& camera, const App& app) { towards_the_sun(camera, app, -1); }
// Three radii out, the whole globe in view.
void far_out(Camera& camera, const App&)
{
    camera.viewpos = {1, -2, 2};
    view_look_at(camera, -1, 2, -2);
}
// Three radii out towards the Moon, looking at it magnified eight times.
void moon_magnified(Camera& camera, const App& app)
{
    const Vec3 towards = body_direction(moon_index, app.time.instant, camera.viewpos);
    camera.viewpos = towards * (3 / length(towards));
    const Vec3 moon = body_direction(moon_index, app.time.instant, camera.viewpos);
    view_look_at(camera, moon.x, moon.y, moon.z);
    set_zoom(camera, 8 * app.frame.frame_xres);
}

}  // namespace

// Whole frames with the sky behind the textured globe against the filled
// globe's sky: stars around the disc, the disc as it was, a body overhead
// drawn and one under the feet hidden.
TEST(SkyBehind, DrawnAsBehindTheFilledGlobeAndHiddenByTheEarth)
{
    const Frames overhead = draw_three(sun_overhead, true);
    expect_sky_of_the_filled_globe(overhead, "sun overhead");
    EXPECT_GT(count(overhead, false, overhead.colours[body_colour[sun_index]]), 0);

    const Frames underfoot = draw_three(sun_underfoot, false);
    expect_sky_of_the_filled_globe(underfoot, "sun underfoot");
    EXPECT_EQ(count(underfoot, false, underfoot.colours[body_colour[sun_index]]), 0);
    EXPECT_EQ(changed(underfoot, true), 0);

    for (bool labels : {false, true}) {
        const Frames far = draw_three(far_out, labels);
        expect_sky_of_the_filled_globe(far, "far out");
        EXPECT_GT(changed(far, false), 50) << "stars around the disc";
        if (!labels) {
            EXPECT_EQ(changed(far, true), 0) << "the disc unchanged";
        }
    }

    const Frames moon = draw_three(moon_magnified, true);
    expect_sky_of_the_filled_globe(moon, "moon magnified");
    const uint8_t lit = body_colour[moon_index];
    EXPECT_GT(count(moon, false, moon.colours[lit]) + count(moon, false, moon.colours[static_cast<size_t>(lit - 8)]), 50);
}
