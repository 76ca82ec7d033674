#include "platform/touch_gesture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const Finger* find_finger(const std::vector<Finger>& fingers, int32_t id)
{
    const auto f = std::find_if(fingers.begin(), fingers.end(), [id](const Finger& g) { return g.id == id; });
    return f == fingers.end() ? nullptr : &*f;
}

// The followed fingers still down, moved to where they are now, then new ones, two at most.
std::vector<Finger> next_fingers(const std::vector<Finger>& followed, const std::vector<Finger>& present)
{
    std::vector<Finger> next;
    for (const Finger& f : followed)
        if (const Finger* now = find_finger(present, f.id)) next.push_back(*now);
    for (const Finger& f : present)
        if (next.size() < 2 && !find_finger(next, f.id)) next.push_back(f);
    return next;
}

bool same_fingers(const std::vector<Finger>& a, const std::vector<Finger>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].id != b[i].id) return false;
    return true;
}

FingerMotion two_finger_motion(const Finger& a0, const Finger& b0, const Finger& a1, const Finger& b1)
{
    FingerMotion m;
    const double x0 = b0.x - a0.x, y0 = b0.y - a0.y, x1 = b1.x - a1.x, y1 = b1.y - a1.y;
    const double d0 = std::hypot(x0, y0), d1 = std::hypot(x1, y1);
    // Fingers on one spot have no distance to compare and no direction to turn.
    if (!(d0 > 0 && d1 > 0)) return m;
    m.spread = d1 / d0;
    // The turn from the old direction to the new, y pointing down the screen.
    m.twist = std::atan2(x0 * y1 - y0 * x1, x0 * x1 + y0 * y1);
    if (m.twist == -std::numbers::pi) m.twist = std::numbers::pi;
    return m;
}

}  // namespace

FingerMotion follow_fingers(TouchGesture& gesture, const std::vector<Finger>& present)
{
    std::vector<Finger> next = next_fingers(gesture.fingers, present);
    FingerMotion m;
    if (same_fingers(gesture.fingers, next)) {
        const std::vector<Finger>& old = gesture.fingers;
        if (next.size() == 1) {
            m.drag_x = next[0].x - old[0].x;
            m.drag_y = next[0].y - old[0].y;
        } else if (next.size() == 2) {
            m = two_finger_motion(old[0], old[1], next[0], next[1]);
        }
    }
    gesture.fingers = std::move(next);
    return m;
}

double frame_pixels_per_css_pixel(int32_t width, int32_t height, double css_width, double css_height)
{
    if (!(css_width > 0 && css_height > 0) || width <= 0 || height <= 0) return 1;
    return std::max(width / css_width, height / css_height);
}

Mickeys drag_as_mickeys(double dx, double dy, int32_t width)
{
    if (width <= 0) return {};
    const double per_pixel = 256.0 / width;
    return {-dx * per_pixel, dy * per_pixel};
}

int32_t take_whole_mickeys(double& pending)
{
    // A runaway sum (a finger flung across a huge screen many times) is cut at what a poll can hold.
    if (!std::isfinite(pending)) pending = 0;
    const double whole = std::clamp(std::trunc(pending), -1e9, 1e9);
    pending -= whole;
    return static_cast<int32_t>(whole);
}

void add_two_finger_motion(TwoFingers& pending, const FingerMotion& motion, bool two_down)
{
    pending.spread *= motion.spread;
    pending.twist += motion.twist;
    pending.down = two_down;
}

TwoFingers take_two_fingers(TwoFingers& pending)
{
    const TwoFingers taken = pending;
    pending = {1, 0, taken.down};
    return taken;
}
