#include <gtest/gtest.h>

#include "app/frame_steps.h"
#include "app/view_ops.h"

// A flick of the mouse glides on, the turn four fifths of the last each still
// frame, and stops dead once the smoothed motion falls below 1e-13 pixels
// rather than crawling on through ever smaller numbers: after
// floor(log(1e-13 / 0.2 |d|) / log 0.8) still frames, the same either way
// and on either axis. With the right button held, x rolls instead of turning.
TEST(Mouse, AFlickGlidesToAStop)
{
    const struct {
        int32_t dx, dy, buttons;
        int still_frames;  // that still turn
    } flicks[] = {
        {1, 0, 0, 126}, {-1, 0, 0, 126}, {0, 1, 0, 126}, {3, 0, 0, 131}, {0, -1000, 0, 157}, {127, 0, 2, 148},
    };
    constexpr int32_t xres = 160;
    for (const auto& f : flicks) {
        Controls controls;
        controls.mouse_buttons = f.buttons;
        View view;
        view.auto_level = 0;
        set_zoom(view.camera, xres);
        const auto angle = [&](const TurnAngles& t) { return f.buttons ? t.roll : f.dx ? t.yaw : t.pitch; };
        double last = angle(smooth_mouse(controls, view, xres, f.dx, f.dy));
        EXPECT_DOUBLE_EQ(last, (f.buttons ? -0.2 : f.dy ? -0.2 : 0.2) * (f.dx + f.dy) / 128) << f.dx << "," << f.dy;
        int still = 0;
        for (double turn; (turn = angle(smooth_mouse(controls, view, xres, 0, 0))) != 0 && still < 1000; last = turn) {
            EXPECT_NEAR(turn / last, 0.8, 1e-12) << f.dx << "," << f.dy << " frame " << still;
            ++still;
        }
        EXPECT_EQ(still, f.still_frames) << f.dx << "," << f.dy;
    }
}
