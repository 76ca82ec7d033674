#include "earth/border_lines.h"

#include <algorithm>
#include <cmath>

#include "earth/round.h"

namespace {

constexpr double fix_one = 262144.0;  // 1 << 18
constexpr double near_limit = 1.0 / 2048;

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
    const int64_t b_end = static_cast<int64_t>(b_limit) << 18;
    for (int32_t a = lo; a < hi; ++a, b += step)
        if (b >= 0 && b < b_end) plot(a, static_cast<int32_t>(b >> 18));
}

// A point in camera coordinates with its horizon value (>= 0: visible side).
struct CamPoint {
    double sx, sy, depth, h;
};

CamPoint lerp(const CamPoint& a, const CamPoint& b, double t)
{
    return {a.sx + t * (b.sx - a.sx), a.sy + t * (b.sy - a.sy), a.depth + t * (b.depth - a.depth),
            a.h + t * (b.h - a.h)};
}

struct Eye {
    const Camera& view;
    double dist;
    double er, ed, ef;

    explicit Eye(const Camera& v)
        : view(v), dist(length(v.viewpos)), er(dot(v.viewpos, v.viewright)), ed(dot(v.viewpos, v.viewdown)),
          ef(dot(v.viewpos, v.viewfwd))
    {
    }

    CamPoint camera(const Vec3f& point) const
    {
        const Vec3 p{point.x, point.y, point.z};
        return {dot(p, view.viewright) - er, dot(p, view.viewdown) - ed, dot(p, view.viewfwd) - ef,
                dot(p, view.viewpos) / dist - 1 / dist};
    }

    void project(const CamPoint& c, double& x, double& y) const
    {
        x = view.xres_half + view.zoom_half * c.sx / c.depth;
        y = view.yres_half + view.zoom_half * c.sy / c.depth;
    }
};

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
    if (frame.frame_ptr == nullptr || frame.frame_xres <= 0 || frame.frame_yres <= 0) return;
    const Eye eye(view);
    const bool cull = !far_side;
    bool chain = false;  // prev is the visible, unclipped end of the last line drawn
    CamPoint prev{};
    double x1 = 0;
    double y1 = 0;
    for (int32_t k = 0; k < borders.polcnt; ++k) {
        const CamPoint cur = eye.camera(borders.polv[static_cast<size_t>(k)]);
        const CamPoint from = prev;
        prev = cur;
        if (k == 0 || starts_polyline(borders, k)) {
            chain = false;
            continue;
        }
        double x0 = x1;
        double y0 = y1;
        double t_out = -1;
        if (!chain) {
            double t_in = -1;
            if (cull) {
                if (from.h < 0 && cur.h < 0) continue;
                if (from.h < 0) t_in = from.h / (from.h - cur.h);
                if (cur.h < 0) t_out = cur.h / (cur.h - from.h);
            }
            const bool from_near = from.depth < near_limit;
            const bool cur_near = cur.depth < near_limit;
            if (from_near && cur_near) continue;
            if (cur_near) t_out = std::max(t_out, (cur.depth - near_limit) / (cur.depth - from.depth));
            if (from_near) t_in = std::max(t_in, (from.depth - near_limit) / (from.depth - cur.depth));
            if ((from_near || cur_near) && t_in + t_out >= 1) continue;
            eye.project(t_in > 0 ? lerp(from, cur, t_in) : from, x0, y0);
        } else {
            if (cull && cur.h < 0) t_out = cur.h / (cur.h - from.h);
            if (cur.depth < near_limit) t_out = std::max(t_out, (cur.depth - near_limit) / (cur.depth - from.depth));
        }
        chain = !(t_out > 0);
        eye.project(chain ? cur : lerp(cur, from, t_out), x1, y1);
        draw_border_line(frame, x0, y0, x1, y1, border_colour);
    }
}
