#include "core/conic.h"

#include <algorithm>
#include <cmath>

#include "core/round.h"

namespace {

// Rows and columns this far out are as good as infinitely far.
constexpr int32_t kFar = 1 << 30;

// One end of a row's span with Q and its first differences at (x, y), so
// that moving it by a pixel or a row costs additions only.
struct ConicEnd {
    int32_t x;
    double q;   // Q(x, y)
    double qx;  // Q(x + 1, y) - Q(x, y)
    double qy;  // Q(x, y + 1) - Q(x, y)
};

struct Conic {
    double a, b, c, d, e, f;

    ConicEnd at(int32_t x, int32_t y) const
    {
        const double X = x, Y = y;
        return {x, a * X * X + b * X * Y + c * Y * Y + d * X + e * Y + f,
                a * (2 * X + 1) + b * Y + d, c * (2 * Y + 1) + b * X + e};
    }
    double left_of(const ConicEnd& p) const { return p.q - (p.qx - 2 * a); }
    void right(ConicEnd& p) const
    {
        p.q += p.qx;
        p.qx += 2 * a;
        p.qy += b;
        ++p.x;
    }
    void left(ConicEnd& p) const
    {
        p.qx -= 2 * a;
        p.q -= p.qx;
        p.qy -= b;
        --p.x;
    }
    void down(ConicEnd& p) const
    {
        p.q += p.qy;
        p.qy += 2 * c;
        p.qx += b;
    }
};

// Walks both ends from the previous row's positions to the current row's rim. A rim
// pixel with Q = 0 is kept when an end reaches it from outside.
void walk_row(const Conic& k, ConicEnd& lo, ConicEnd& hi, int32_t xres)
{
    if (k.left_of(lo) < 0) {
        while (lo.x > 0 && k.left_of(lo) < 0) k.left(lo);
    } else {
        while (lo.q > 0 && lo.x < hi.x) k.right(lo);
    }
    if (hi.q >= 0) {
        while (hi.x > lo.x && k.left_of(hi) > 0) k.left(hi);
    } else {
        while (hi.x < xres && hi.q < 0) k.right(hi);
    }
}

}  // namespace

RowRange conicspans(const FrameBuffer& frame, Spans& spans, double a, double b, double c, double d, double e,
                    double f)
{
    const int32_t xres = frame.frame_xres;
    const int32_t yres = std::min(frame.frame_yres, spans.rows);
    if (xres < 1 || yres < 1) return {};

    const double t = b * b - 4 * a * c;
    const double A = 2 * c * d - b * e;
    const double B = 2 * a * e - b * d;
    // Make the inside the negative side: t^3 * Q(centre) must not be negative.
    if (t * (a * A * A + b * A * B + c * B * B + t * d * A + t * e * B + t * t * f) < 0) {
        a = -a, b = -b, c = -c, d = -d, e = -e, f = -f;
    }
    const double F = B * B - t * (d * d - 4 * a * f);
    if (!(F > 0) || t == 0) return {};
    const double top = (B + std::sqrt(F)) / t;
    const double bottom = (B - std::sqrt(F)) / t;
    if (std::isnan(top) || std::isnan(bottom)) return {};
    int32_t y0 = rnd_clamp(top + 1.0001, -kFar, kFar);
    int32_t y1 = rnd_clamp(bottom + 0.9999, -kFar, kFar);
    if (y1 > yres) {
        if (y0 >= yres) return {};
        y1 = yres;
    }
    if (y0 >= y1) return {};

    int32_t xl, xr;
    if (y0 >= 0) {
        xl = rnd_clamp(-(d + b * y0) / (2 * a), 0, xres - 1);
        xr = xl + 1;
    } else {
        if (y1 < 1) return {};
        y0 = 0;
        // Both roots of row 0; the walks carry each end across to its side.
        const double s = std::sqrt(std::max(d * d - 4 * a * f, 0.0));
        xl = rnd_clamp((s - d) / (2 * a), 0, xres - 1);
        xr = rnd_clamp((-d - s) / (2 * a), 0, xres - 1) + 1;
    }

    const Conic k{a, b, c, d, e, f};
    ConicEnd lo = k.at(xl, y0), hi = k.at(xr, y0);
    for (int32_t r = y0; r < y1; ++r) {
        walk_row(k, lo, hi, xres);
        spans.push(r, lo.x);
        spans.push(r, hi.x);
        k.down(lo);
        k.down(hi);
    }
    return {y0, y1};
}

RowRange quadric_spans(const Camera& view, const FrameBuffer& frame, Spans& spans, const RayQuadric& q)
{
    const double xh = view.xres_half, yh = view.yres_half, zh = view.zoom_half;
    return conicspans(frame, spans, q.xx, 2 * q.xy, q.yy, 2 * (q.xz * zh - q.xx * xh - q.xy * yh),
                      2 * (q.yz * zh - q.yy * yh - q.xy * xh),
                      q.zz * zh * zh + q.xx * xh * xh + 2 * q.xy * xh * yh + q.yy * yh * yh - 2 * q.xz * zh * xh -
                          2 * q.yz * zh * yh);
}
