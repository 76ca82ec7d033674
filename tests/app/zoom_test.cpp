#include <gtest/gtest.h>

#include "app/frame_steps.h"
#include "app/view_ops.h"
#include "platform/scan_codes.h"

namespace {

constexpr int32_t xres = 160;  // magnification 1 is a zoom of the frame's width

double magnification(const View& view) { return view.camera.zoom / xres; }

}  // namespace

// The wheel magnifies by 1.1 a notch; a turn that reaches or crosses
// magnification 1 stops there and drops its remaining notches; before the
// first frame there is nothing to zoom.
TEST(Zoom, WheelNotchesStopAtMagnificationOne)
{
    const struct {
        int32_t notches;
        double magnification;
        bool latched;
    } steps[] = {
        {1, 1.1, false}, {0, 1.1, false},  {2, 1.331, false}, {-5, 1, true},
        {-1, 1 / 1.1, false}, {3, 1, true}, {-2, 1 / 1.21, false},
    };
    View view;
    set_zoom(view.camera, xres);
    int i = 0;
    for (const auto& s : steps) {
        zoom_wheel(view, xres, s.notches);
        EXPECT_NEAR(magnification(view), s.magnification, 1e-12) << i;
        EXPECT_EQ(view.zoom_latch, s.latched) << i;
        ++i;
    }
    zoom_wheel(view, -1, 3);
    EXPECT_NEAR(magnification(view), 1 / 1.21, 1e-12);
    // A notch that falls short of 1, from either side, does not stop there.
    for (const double from : {0.85, 1.15}) {
        set_zoom(view.camera, from * xres);
        zoom_wheel(view, xres, from < 1 ? 1 : -1);
        EXPECT_NEAR(magnification(view), from < 1 ? from * 1.1 : from / 1.1, 1e-12) << from;
        EXPECT_FALSE(view.zoom_latch) << from;
    }
}

// Keypad * and / zoom by 1.02 and 0.98 a frame while held, stop at magnification 1
// until both are let go, and do nothing together; keypad 5 goes to 1 once
// per press.
TEST(Zoom, HeldKeysStopAtMagnificationOne)
{
    using namespace dik;
    const struct {
        uint8_t key;  // held this frame, 0 for none
        double magnification;
    } steps[] = {
        {multiply, 0.95 * 1.02}, {multiply, 0.95 * 1.02 * 1.02}, {multiply, 1}, {multiply, 1},
        {0, 1},                  {multiply, 1.02},               {divide, 1},   {divide, 1},
        {0, 1},                  {divide, 0.98},                  {numpad5, 1},  {divide, 1},
    };
    View view;
    set_zoom(view.camera, 0.95 * xres);
    int i = 0;
    for (const auto& s : steps) {
        uint8_t keys[256] = {};
        if (s.key) keys[s.key] = 1;
        if (s.key == numpad5) keys[divide] = 1;
        zoom_keys(keys, view, xres);
        EXPECT_NEAR(magnification(view), s.magnification, 1e-12) << i;
        EXPECT_EQ(keys[numpad5], 0) << i;
        ++i;
    }
    uint8_t both[256] = {};
    both[multiply] = both[divide] = 1;
    View still;
    set_zoom(still.camera, 2 * xres);
    zoom_keys(both, still, xres);
    EXPECT_EQ(magnification(still), 2);
}
