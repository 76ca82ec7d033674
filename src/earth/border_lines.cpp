#include "earth/border_lines.h"

#include <algorithm>
#include <cmath>

#include "core/fixed_point.h"
#include "core/round.h"

namespace {

// Steps along axis a (rows for a steep line, columns otherwise) and plots
// (a, b) with b the other coordinate.
template <class Plot>
void step_line(double a0, double b0, double a1, double b1, int32_t a_limit, int32_t b_limit, Plot plot)
{
    const int32_t lo = rnd_clamp(std::min(a0, a1), 0, a_limit);
    const int32_t hi = rnd_clamp(std::max(a0, a1), 0, a_limit);
    if (lo >= hi) return;
    const double slope = (b1 - b0) / (a1 - a0);
    const double start = ((lo + 0.5 - a0) * slope + b0) * fix_one;
    // Clip in floating point to the frame plus a margin: b moves at most one
    // pixel per step, so a line that starts further out than it has steps
    // never reaches the frame, and what is left converts and steps without
    // leaving the integer range.
    const double margin = (hi - lo) + 2.0;
    if (!(start > -margin * fix_one && start < (b_limit + margin) * fix_one)) return;
    int64_t b = static_cast<int64_t>(std::nearbyint(start));
    const int64_t step = static_cast<int64_t>(std::nearbyint(slope * fix_one));
    const int64_t b_end = static_cast<int64_t>(b_limit) << fix_bits;
    for (int32_t a = lo; a < hi; ++a, b += step)
        if (b >= 0 && b < b_end) plot(a, fix_whole(b));
}

// A border point in camera coordinates, with its horizon value.
struct LinePoint {
    CamPoint c;
    double h;
};

LinePoint line_point(const Camera& view, const EyeOffsets& eye, const Horizon& horizon, const Vec3f& point)
{
    const Vec3 p{point.x, point.y, point.z};
    return {camera_point(view, eye, p), above_horizon(horizon, p)};
}

}  // namespace

void draw_border_line(const FrameBuffer& frame, double x0, double y0, double x1, double y1, uint8_t colour)
{
    if (std::fabs(x1 - x0) < std::fabs(y1 - y0))
        step_line(y0, x0, y1, x1, frame.frame_yres, frame.frame_xres, [&](int32_t y, int32_t x) { frame.row(y)[x] = colour; });
    else
        step_line(x0, y0, x1, y1, frame.frame_xres, frame.frame_yres, [&](int32_t x, int32_t y) { frame.row(y)[x] = colour; });
}

void drawbords(const Camera& view, const FrameBuffer& frame, const Borders& borders, bool far_side)
{
    if (frame.empty()) return;
    const EyeOffsets eye = eye_offsets(view);
    const Horizon horizon = horizon_of(view);
    bool chain = false;  // prev is the visible, unclipped end of the last line drawn
    LinePoint prev{};
    double x1{};
    double y1{};
    for (int32_t k = 0; k < borders.polcnt(); ++k) {
        const LinePoint cur = line_point(view, eye, horizon, borders.polv[static_cast<size_t>(k)]);
        const LinePoint from = prev;
        prev = cur;
        if (k == 0 || starts_polyline(borders, k)) {
            chain = false;
            continue;
        }
        double x0 = x1;
        double y0 = y1;
        double t_in = -1, t_out = -1;
        if (!far_side) {
            if (!chain && from.h < 0 && cur.h < 0) continue;
            clip_horizon(from.h, cur.h, t_in, t_out);
        }
        if (!clip_near(from.c.depth, cur.c.depth, t_in, t_out)) continue;
        if (!chain) project(view, t_in > 0 ? towards(from.c, cur.c, t_in) : from.c, x0, y0);
        chain = !(t_out > 0);
        project(view, chain ? cur.c : towards(cur.c, from.c, t_out), x1, y1);
        draw_border_line(frame, x0, y0, x1, y1, border_colour);
    }
}
