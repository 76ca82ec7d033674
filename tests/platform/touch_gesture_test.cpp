#include "platform/touch_gesture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "platform/page_frame_size.h"

namespace {

constexpr double pi = std::numbers::pi;

struct Event {
    std::vector<Finger> present;
    FingerMotion expected;
};

// One finger drags, a second joins, both spread and twist, one lifts and
// the other drags on; fingers that come or go never move anything.
TEST(TouchGesture, FollowsOneOrTwoFingers)
{
    const double root2 = std::sqrt(2.0);
    const Event events[] = {
        {{{7, 100, 100}}, {}},
        {{{7, 110, 95}}, {10, -5, 1, 0}},
        {{{7, 110, 95}, {9, 210, 95}}, {}},
        // A third finger is not followed, nor is the order of the list.
        {{{4, 0, 0}, {9, 210, 95}, {7, 110, 95}}, {}},
        {{{9, 310, 95}, {7, 110, 95}, {4, 50, 50}}, {0, 0, 2, 0}},
        // A quarter turn clockwise on the screen (y points down), the distance kept.
        {{{7, 110, 95}, {9, 110, 295}}, {0, 0, 1, pi / 2}},
        {{{7, 110, 95}, {9, 110 + 100 * root2, 95 + 100 * root2}}, {0, 0, 1, -pi / 4}},
        // The first finger lifted: the third is followed from where it is.
        {{{9, 110 + 100 * root2, 95 + 100 * root2}, {4, 50, 50}}, {}},
        {{{9, 110 + 100 * root2, 95 + 100 * root2}, {4, 50, 50}}, {0, 0, 1, 0}},
        {{{4, 60, 40}}, {}},
        {{{4, 57, 44}}, {-3, 4, 1, 0}},
        {{}, {}},
        {{{4, 70, 70}}, {}},
    };
    TouchGesture g;
    int step = 0;
    for (const Event& e : events) {
        const FingerMotion m = follow_fingers(g, e.present);
        EXPECT_DOUBLE_EQ(m.drag_x, e.expected.drag_x) << step;
        EXPECT_DOUBLE_EQ(m.drag_y, e.expected.drag_y) << step;
        EXPECT_NEAR(m.spread, e.expected.spread, 1e-5) << step;
        EXPECT_NEAR(m.twist, e.expected.twist, 1e-12) << step;
        ++step;
    }
}

// Fingers on one spot have no distance and no direction; a half turn is
// +pi; across the back of the circle the turn is the short way round.
TEST(TouchGesture, TwoFingerTurns)
{
    const struct {
        Finger a0, b0, a1, b1;
        double spread, twist;
    } cases[] = {
        {{1, 5, 5}, {2, 5, 5}, {1, 5, 5}, {2, 9, 5}, 1, 0},
        {{1, 5, 5}, {2, 9, 5}, {1, 7, 7}, {2, 7, 7}, 1, 0},
        {{1, 0, 0}, {2, 10, 0}, {1, 0, 0}, {2, -10, 0}, 1, pi},
        {{1, 0, 0}, {2, 10, 0}, {1, 10, 0}, {2, 0, 0}, 1, pi},
        {{1, 0, 0}, {2, 0, 10}, {1, 0, 0}, {2, 0, -30}, 3, pi},
        {{1, 0, 0}, {2, -200, -1}, {1, 5, 5}, {2, -195, 6}, 1, -2 * std::atan(1 / 200.0)},
        {{1, 0, 0}, {2, -200, 1}, {1, 0, 0}, {2, -200, -1}, 1, 2 * std::atan(1 / 200.0)},
    };
    for (const auto& c : cases) {
        TouchGesture g;
        follow_fingers(g, {c.a0, c.b0});
        const FingerMotion m = follow_fingers(g, {c.a1, c.b1});
        EXPECT_EQ(m.spread, c.spread);
        EXPECT_NEAR(m.twist, c.twist, 1e-15);
    }
}

TEST(TouchGesture, FramePixelsPerCssPixel)
{
    const struct {
        int32_t width, height;
        double css_width, css_height, expected;
    } cases[] = {
        {640, 480, 640, 480, 1},       {640, 480, 1280, 480, 1},  // letterboxed left and right
        {640, 480, 320, 1000, 2},      {234, 506, 390, 843.5, 0.6},
        {640, 480, 0, 480, 1},         {640, 480, std::nan(""), 480, 1},
        {0, 480, 640, 480, 1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(frame_pixels_per_css_pixel(c.width, c.height, c.css_width, c.css_height), c.expected)
            << c.width << "x" << c.height << " in " << c.css_width << "x" << c.css_height;
}

// Fractions of a mickey are kept for the next poll, never lost or rounded
// away from zero; nothing survives a sum that is not a number.
TEST(TouchGesture, DragsBecomeWholeMickeys)
{
    const Mickeys m = drag_as_mickeys(10, -5, 640);
    EXPECT_DOUBLE_EQ(m.dx, -4);
    EXPECT_DOUBLE_EQ(m.dy, -2);
    EXPECT_DOUBLE_EQ(drag_as_mickeys(3, 1, 0).dx, 0);

    double pending = 0;
    int32_t total = 0;
    for (int i = 0; i < 10; ++i) {
        pending += drag_as_mickeys(1, 0, 768).dx;  // a third of a mickey to the left each time
        total += take_whole_mickeys(pending);
        EXPECT_GT(pending, -1);
        EXPECT_LE(pending, 0);
    }
    EXPECT_EQ(total, -3);
    pending = 2.75;
    EXPECT_EQ(take_whole_mickeys(pending), 2);
    EXPECT_DOUBLE_EQ(pending, 0.75);
    pending = std::numeric_limits<double>::infinity();
    EXPECT_EQ(take_whole_mickeys(pending), 0);
    EXPECT_EQ(pending, 0);
    pending = 5e12;
    EXPECT_EQ(take_whole_mickeys(pending), 1000000000);
}

// Between two polls the spreads multiply and the twists add; a poll takes
// them and leaves the fingers as they are.
TEST(TouchGesture, TwoFingerMotionUntilThePoll)
{
    TwoFingers pending;
    add_two_finger_motion(pending, {0, 0, 2, 0.25}, true);
    add_two_finger_motion(pending, {0, 0, 1.5, -0.5}, true);
    const TwoFingers taken = take_two_fingers(pending);
    EXPECT_EQ(std::tie(taken.spread, taken.twist, taken.down), std::make_tuple(3.0, -0.25, true));
    EXPECT_EQ(std::tie(pending.spread, pending.twist, pending.down), std::make_tuple(1.0, 0.0, true));
    add_two_finger_motion(pending, {}, false);
    EXPECT_FALSE(take_two_fingers(pending).down);
}

// One CSS pixel a frame pixel, but on a small screen about one and a half,
// in whole device pixels, unless the widest status line would no longer fit.
TEST(PageFrameSize, FollowsThePage)
{
    const struct {
        double css_width, css_height, ratio;
        int32_t width, height;
    } cases[] = {
        {1920, 1080, 1, 1920, 1080},
        {800, 600, 2, 800, 600},
        {1024.5, 599.9, 1, 512, 299},
        {390, 844, 3, 234, 506},     // five device pixels a frame pixel
        {844, 390, 3, 506, 234},
        {375, 667, 2, 250, 444},     // three
        {412, 915, 2.625, 270, 600}, // four
        {320, 568, 2, 320, 568},     // 213 would cut the widest line: back to one
        {360, 640, 1, 360, 640},     // two device pixels would leave 180
        {500, 500, 1, 250, 250},
        {1, 1, 1, 1, 1},
        {0.5, 300, 1, 1, 1},
        {std::nan(""), 300, 1, 1, 1},
        {390, 844, std::nan(""), 390, 844},
        {390, 844, 0, 390, 844},
        {375, 667, 4, 250, 444},     // six
        {1e9, std::numeric_limits<double>::infinity(), 1, largest_page_frame_side, largest_page_frame_side},
    };
    for (const auto& c : cases) {
        const PageFrameSize s = page_frame_size(c.css_width, c.css_height, c.ratio);
        EXPECT_EQ(std::tie(s.width, s.height), std::tie(c.width, c.height)) << c.css_width << "x" << c.css_height << " @" << c.ratio;
    }
}

}  // namespace
