#include <gtest/gtest.h>

#include <cmath>

#include "app/state_json.h"
#include "app/view_ops.h"
#include "platform/scan_codes.h"
#include "platform/touch_gesture.h"
#include "support/headless_viewer.h"

namespace {

// Where a point lands on the screen.
void screen_of(const Camera& c, const Vec3& p, double& x, double& y)
{
    project(c, camera_point(c, eye_offsets(c), p), x, y);
}

// A still viewer 160 x 120: three radii out over the Atlantic looking at the
// centre, nothing moving the eye or levelling the view.
HeadlessViewer& still(HeadlessViewer& v)
{
    v.frame();
    View& view = v.app->view;
    view.orbit_mode = view.auto_level = 0;
    view.camera.viewpos = position_at_degrees(30, -40) * 3;
    view_centre(view.camera);
    return v;
}

// A finger dragged across the screen takes the ground under it along, at any
// magnification, once the mouse's smoothing has run out.
TEST(TouchFrames, TheGroundFollowsTheFinger)
{
    const struct {
        double magnification, x0, y0, dx, dy;
    } cases[] = {
        {1, 80, 60, 20, 0}, {1, 80, 60, 0, 15}, {1, 90, 50, -12, 9}, {4, 80, 60, 30, -25}, {0.5, 75, 62, -6, -4},
    };
    for (const auto& c : cases) {
        HeadlessViewer v;
        still(v);
        Camera& camera = v.app->view.camera;
        set_zoom(camera, c.magnification * 160);
        const Vec3 ground = camera.viewpos + pixel_ray(camera, c.x0, c.y0);
        // Delivered over a few polls, as events come, fractions carried along.
        const Mickeys m = drag_as_mickeys(c.dx, c.dy, 160);
        double px = 0, py = 0;
        for (int i = 0; i < 100; ++i) {
            if (i < 4) px += m.dx / 4, py += m.dy / 4;
            HeadlessPlatform::FrameInput input;
            input.dx = take_whole_mickeys(px);
            input.dy = take_whole_mickeys(py);
            v.platform.script.push_back(input);
            v.frame();
        }
        double x = 0, y = 0;
        screen_of(camera, ground, x, y);
        EXPECT_NEAR(x, c.x0 + c.dx, 0.6) << c.magnification << " " << c.dx << "," << c.dy;
        EXPECT_NEAR(y, c.y0 + c.dy, 0.6) << c.magnification << " " << c.dx << "," << c.dy;
    }
}

// Two fingers turn the view with them, with no levelling while they are down;
// once they are lifted the view levels again near the Earth.
TEST(TouchFrames, ATwistRolls)
{
    HeadlessViewer v;
    still(v);
    v.app->view.auto_level = 1;
    Camera& camera = v.app->view.camera;
    view_south(camera);
    const Vec3 right_of_centre = camera.viewpos + pixel_ray(camera, 110, 60);
    const double level = dot(camera.viewright, camera.viewpos);
    HeadlessPlatform::FrameInput input;
    input.fingers = {1, 0.3, true};
    v.platform.script.push_back(input);
    input.fingers = {1, 0, true};
    v.platform.script.push_back(input);
    v.frame();
    v.frame();
    double x = 0, y = 0;
    screen_of(camera, right_of_centre, x, y);
    EXPECT_NEAR(x, 80 + 30 * std::cos(0.3), 1e-9);
    EXPECT_NEAR(y, 60 + 30 * std::sin(0.3), 1e-9);
    const double twisted = dot(camera.viewright, camera.viewpos);
    EXPECT_GT(std::fabs(twisted - level), 0.2);
    v.frame();
    EXPECT_LT(std::fabs(dot(camera.viewright, camera.viewpos) - level), std::fabs(twisted - level));
}

// Spread and pinched by the ratio of the distances, stopping at
// magnification 1 until the fingers are lifted, as the zoom keys stop there
// until released; a ratio that is no number changes nothing.
TEST(TouchFrames, ASpreadMagnifies)
{
    const struct {
        double spread;
        bool down;
        double magnification;
        int latched;
    } steps[] = {
        {1.5, true, 1.5, 0},   {0.25, true, 1, 1}, {2, true, 1, 1},         {1, false, 1, 0},  {0.5, true, 0.5, 0},
        {8, false, 1, 0},      {2, true, 2, 0},    {std::nan(""), true, 2, 0}, {0, true, 2, 0},
        {-1, true, 2, 0},      {INFINITY, true, 2, 0}, {0.5, true, 1, 1},   {2, false, 1, 0},
        {2, true, 2, 0},       {0.75, false, 1.5, 0},
    };
    HeadlessViewer v;
    v.frame();
    int i = 0;
    for (const auto& s : steps) {
        HeadlessPlatform::FrameInput input;
        input.fingers = {s.spread, 0, s.down};
        v.platform.script.push_back(input);
        v.frame();
        EXPECT_DOUBLE_EQ(v.app->view.camera.zoom, s.magnification * 160) << i;
        EXPECT_EQ(v.app->view.pinch_latch, s.latched != 0) << i;
        ++i;
    }
}

// A new frame size keeps the eye, the view, the clock and the magnification;
// only the projection and the work areas follow the size.
TEST(TouchFrames, AResizeKeepsTheView)
{
    HeadlessViewer v;
    still(v);
    v.frame_with({dik::equals});
    App& app = *v.app;
    set_zoom(app.view.camera, 2.5 * 160);
    v.frame();
    const Camera before = app.view.camera;
    const std::string clock = viewer_state_json(app).substr(viewer_state_json(app).find("\"clock\""));
    // A window a few pixels narrower may keep its rows' pitch, as SDL aligns
    // it, and the same width may come with a new pitch.
    const std::tuple<int32_t, int32_t, int32_t> sizes[] = {{240, 90, 240}, {97, 300, 100}, {99, 300, 100},
                                                           {99, 300, 104}, {160, 120, 160}};
    for (const auto& [w, h, pitch] : sizes) {
        v.platform.extra_pitch = pitch - w;
        v.platform.initdirectdraw(w, h, app.palette);
        v.frame();
        const Camera& c = app.view.camera;
        const std::pair<Vec3, Vec3> kept[] = {
            {c.viewpos, before.viewpos}, {c.viewfwd, before.viewfwd}, {c.viewright, before.viewright}, {c.viewdown, before.viewdown}};
        for (const auto& [a, b] : kept) EXPECT_EQ(std::tie(a.x, a.y, a.z), std::tie(b.x, b.y, b.z)) << w;
        EXPECT_EQ(std::tie(c.zoom, c.xres_half, c.yres_half), std::make_tuple(2.5 * w, w / 2.0, h / 2.0));
        EXPECT_DOUBLE_EQ(c.corner_dist2, c.zoom_half * c.zoom_half + c.xres_half * c.xres_half + c.yres_half * c.yres_half);
        EXPECT_EQ(std::tie(app.frame.frame_xres, app.frame.frame_yres, app.frame.frame_pitch, app.spans.rows),
                  std::tie(w, h, pitch, h));
        EXPECT_EQ(app.frame.row_offset.size(), static_cast<size_t>(h));
        EXPECT_EQ(viewer_state_json(app).substr(viewer_state_json(app).find("\"clock\"")), clock);
    }
    // The same frame as a viewer started at the size with that view.
    HeadlessViewer fresh;
    still(fresh);
    fresh.app->view.camera = app.view.camera;
    fresh.app->time = app.time;
    fresh.frame();
    EXPECT_EQ(fresh.digest(), v.digest());
}

// What a page shows: the camera as globetool prints it, the clock, the
// toggles and the tracked body (the Sun's 0 wins over the other digits).
TEST(TouchFrames, StateForThePage)
{
    HeadlessViewer v;
    v.frame();
    App& app = *v.app;
    set_clock(app.time, {987, 3, 9, 5, 7, 0});
    const std::string camera = camera_json(app.view.camera, app.frame, app.time.instant);
    app.view.show_borders = 0;
    app.view.night = true;
    const std::string tail = "\"clock\": \"0987-03-09T05:07:00\", \"time_manual\": true, \"show_earth\": true, "
                             "\"show_borders\": false, \"far_side_lines\": false, \"show_labels\": true, \"orbit_mode\": true, "
                             "\"night\": true, \"sky\": false, \"help\": false, \"tracking\": ";
    const std::string head = camera.substr(0, camera.size() - 1) + ", ";
    EXPECT_EQ(viewer_state_json(app), head + tail + "null}");
    app.controls.key_state[dik::key1 + 2] = 1;
    EXPECT_EQ(viewer_state_json(app), head + tail + "\"moon\"}");
    app.controls.key_state[dik::key0] = 1;
    EXPECT_EQ(viewer_state_json(app), head + tail + "\"sun\"}");
    EXPECT_EQ(camera.find("{\"viewpos\": ["), 0u);
    EXPECT_NE(camera.find("\"xres\": 160, \"yres\": 120, \"sidereal_angle\": "), std::string::npos);
}

}  // namespace
