#include <gtest/gtest.h>

#include "app/view_ops.h"
#include "platform/scan_codes.h"
#include "support/headless_viewer.h"

TEST(FrameControls, ZoomStopsExactlyAtMagnificationOneUntilReleased)
{
    HeadlessViewer v;
    v.frame();
    set_zoom(v.app->view.camera, 80);  // magnification 0.5
    v.platform.press({dik::multiply});
    int frames = 0;
    while (v.app->view.camera.zoom < 160 && frames < 100) {
        v.frame();
        ++frames;
    }
    EXPECT_EQ(v.app->view.camera.zoom, 160.0);
    EXPECT_EQ(frames, 36);  // 80 * 1.02^35 < 160 <= 80 * 1.02^36
    v.frames(5);
    EXPECT_EQ(v.app->view.camera.zoom, 160.0);
    v.platform.release({dik::multiply});
    v.frame();
    v.platform.press({dik::multiply});
    v.frame();
    EXPECT_DOUBLE_EQ(v.app->view.camera.zoom, 160 * 1.02);
    v.platform.release({dik::multiply});
    v.frame_with({dik::numpad5});
    EXPECT_EQ(v.app->view.camera.zoom, 160.0);
}

TEST(FrameControls, WheelNotchesStopAtMagnificationOne)
{
    HeadlessViewer v;
    v.frame();
    set_zoom(v.app->view.camera, 150);
    v.platform.script.push_back({});
    v.platform.script.back().wheel = 2;
    v.frame();
    EXPECT_EQ(v.app->view.camera.zoom, 160.0);
    v.platform.script.push_back({});
    v.platform.script.back().wheel = 1;
    v.frame();
    EXPECT_DOUBLE_EQ(v.app->view.camera.zoom, 176);
    v.platform.script.push_back({});
    v.platform.script.back().wheel = -3;
    v.frame();
    EXPECT_EQ(v.app->view.camera.zoom, 160.0);
}

TEST(FrameControls, OrbitWithoutSpeedFallsToTheFloorAndStays)
{
    HeadlessViewer v;
    v.frame();
    v.app->view.camera.viewpos = v.app->view.camera.viewpos * (1.02 / length(v.app->view.camera.viewpos));
    v.frames(400);
    EXPECT_NEAR(length(v.app->view.camera.viewpos), v.app->view.min_dist, 1e-12);
    const Vec3 landed = v.app->view.camera.viewpos;
    v.frames(200);
    EXPECT_NEAR(length(v.app->view.camera.viewpos - landed), 0, 1e-12);
    // Gravity adds 0.0003 a frame, the floor takes 0.99 per millisecond: (v + g) * 0.99^16 = v.
    const double g = 0.0003 / (v.app->view.min_dist * v.app->view.min_dist);
    const double f = std::pow(0.99, 16);
    EXPECT_NEAR(length(v.app->view.camera.viewvel), g * f / (1 - f), 1e-6);
}

TEST(FrameControls, FreeFlightMovesByElapsedTime)
{
    HeadlessViewer v;
    v.frame();
    v.frame_with({dik::g});
    ASSERT_EQ(v.app->view.orbit_mode, 0);
    v.app->view.camera.viewpos = {0, 0, -2};
    view_look_at(v.app->view.camera, 0, 0, 1);
    v.platform.ms_per_frame = 32;
    v.frame_with({dik::up});
    EXPECT_NEAR(v.app->view.camera.viewpos.z, -2 + 32.0 / 2048, 1e-9);
    v.frame_with({dik::up, dik::rshift});
    EXPECT_NEAR(v.app->view.camera.viewpos.z, -2 + 32.0 / 2048 + 32.0 / 64, 1e-9);
}

TEST(FrameControls, TogglesActOncePerPress)
{
    HeadlessViewer v;
    v.frame();
    v.platform.press({dik::h, dik::b, dik::t, dik::grave});
    v.frames(3);
    EXPECT_EQ(v.app->view.show_earth, 0);
    EXPECT_EQ(v.app->view.show_borders, 0);
    EXPECT_EQ(v.app->view.far_side_lines, 1);
    EXPECT_EQ(v.app->view.show_labels, 0);
    // With the Earth hidden the frame is cleared: only the status text remains,
    // in colour 31 on the rows of the date, the time, latitude and longitude.
    for (int32_t y = 0; y < 120; ++y) {
        int text = 0;
        for (int32_t x = 0; x < 160; ++x) {
            const uint8_t p = v.platform.frame_row(y)[x];
            ASSERT_TRUE(p == 0 || p == 31) << x << "," << y;
            text += p == 31;
        }
        // Rows 5 of a line hold only descenders.
        const bool glyph_row = (y < 32 && y % 8 < 5) || (y >= 114 && y < 119);
        const bool cell_row = (y < 32 && y % 8 < 6) || y >= 114;
        if (glyph_row) {
            EXPECT_GT(text, 0) << "row " << y;
        }
        if (!cell_row) {
            EXPECT_EQ(text, 0) << "row " << y;
        }
    }
    v.platform.release({dik::h});
    v.frame_with({dik::slash});
    EXPECT_EQ(v.app->view.show_earth, 1);
    EXPECT_EQ(v.app->view.far_side_lines, 0);
}
