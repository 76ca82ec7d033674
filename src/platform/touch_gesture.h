#pragma once
// Fingers on a touch screen turned into the viewer's inputs: one finger
// dragged becomes mouse motion that turns the view under it, two fingers
// spread or twisted become a magnification and a roll.
#include <cstdint>
#include <vector>

#include "platform/platform.h"

// A finger on the screen, where it is in CSS pixels.
struct Finger {
    int32_t id = 0;
    double x = 0, y = 0;
};

// The fingers being followed: at most two, in the order they came down.
struct TouchGesture {
    std::vector<Finger> fingers;
};

// What the followed fingers did between two touch events.
struct FingerMotion {
    double drag_x = 0, drag_y = 0;  // one finger: how far it moved
    double spread = 1;              // two fingers: their new distance over the old
    double twist = 0;               // two fingers: radians turned clockwise, in (-pi, pi]
};

// Follows the fingers now on the screen. A finger that comes or goes starts
// the gesture afresh from where the fingers are, with no motion.
FingerMotion follow_fingers(TouchGesture& gesture, const std::vector<Finger>& present);

// Frame pixels per CSS pixel of a width x height frame shown whole, its
// aspect kept, in a css_width x css_height box; 1 for an empty box.
double frame_pixels_per_css_pixel(int32_t width, int32_t height, double css_width, double css_height);

// Mouse motion, in mickeys, under which the ground at the centre of a frame
// `width` pixels wide follows a finger dragged (dx, dy) frame pixels: the
// mouse turns the view by width / (zoom * 128) radians a mickey, a pixel
// near the centre spans 2 / zoom radians, so a pixel is 256 / width mickeys
// whatever the magnification. Turning right moves the ground left, looking
// up (the mouse moved down) moves it down.
struct Mickeys {
    double dx = 0, dy = 0;
};
Mickeys drag_as_mickeys(double dx, double dy, int32_t width);

// Takes the whole mickeys out of pending, leaving the fraction for later.
int32_t take_whole_mickeys(double& pending);

// Adds one touch event's two-finger motion to what the next poll reports.
void add_two_finger_motion(TwoFingers& pending, const FingerMotion& motion, bool two_down);
// What a poll reports: the motion added since the last one, leaving none
// behind and the fingers as they are.
TwoFingers take_two_fingers(TwoFingers& pending);
