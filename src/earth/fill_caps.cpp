#include "earth/fill_caps.h"

#include <algorithm>
#include <cmath>

#include "earth/conic.h"
#include "earth/fill.h"

namespace {

struct Conic6 {
    double a, b, c, d, e, f;
};

// The cone from the eye through the circle (centre C, unit normal n, radius
// rho, camera coordinates) meets the screen in the conic G(w) = 0 with
// G(w) = (n.w)^2 (|P(w) - C|^2 - rho^2), P(w) the ray's point on the
// circle's plane; G <= 0 inside the circle.
Conic6 circle_conic(const FillGeometry& g, Vec3 C, Vec3 n, double rho)
{
    const double k = dot(n, C);
    const double s = dot(C, C) - rho * rho;
    const double c3[3] = {C.x, C.y, C.z}, n3[3] = {n.x, n.y, n.z};
    double M[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            M[i][j] = (i == j ? k * k : 0) - k * (c3[i] * n3[j] + n3[i] * c3[j]) + s * n3[i] * n3[j];
    const double cx = g.cx, cy = g.cy, f = g.f;
    return {M[0][0],
            2 * M[0][1],
            M[1][1],
            2 * (M[0][2] * f - M[0][0] * cx - M[0][1] * cy),
            2 * (M[1][2] * f - M[1][1] * cy - M[0][1] * cx),
            M[2][2] * f * f + M[0][0] * cx * cx + 2 * M[0][1] * cx * cy + M[1][1] * cy * cy -
                2 * M[0][2] * f * cx - 2 * M[1][2] * f * cy};
}

void mark(const FrameBuffer& frame, int32_t y, int32_t x)
{
    if (x >= 0 && x < frame.frame_xres) frame.row(y)[x] = cap_outline_colour;
}

}  // namespace

void outline_caps(const FillGeometry& g, const Shore& shore, const FrameBuffer& frame, Spans& spans)
{
    std::fill(spans.xpcnt.begin(), spans.xpcnt.end(), 0);
    const int32_t pieces = std::min(shore.lpscnt, static_cast<int32_t>(shore.lps.size()));
    for (int32_t i = pieces - 1; i >= 0; --i) {
        const Piece& p = shore.lps[static_cast<size_t>(i)];
        const Vec3 q{p.q[0], p.q[1], p.q[2]};
        const double cos_theta = length(q);
        if (!piece_visible(g, p) || !(cos_theta > 0)) continue;
        const CamPoint centre = camera(g, q);
        const Vec3 axis = q * (1 / cos_theta);
        const Vec3 n{dot(axis, g.R), dot(axis, g.D), dot(axis, g.F)};
        const Conic6 k = circle_conic(g, {centre.sx, centre.sy, centre.depth}, n,
                                      std::sqrt(std::max(1.0 - p.cos2, 0.0)));
        int32_t first = 0, end = -1;
        conicspans(frame, spans, k.a, k.b, k.c, k.d, k.e, k.f, first, end);
        for (int32_t y = first; y < end; ++y) {
            const int32_t* row = spans.row(y);
            if (row[0] < row[1]) {
                mark(frame, y, row[0]);
                mark(frame, y, row[1] - 1);
            }
            spans.xpcnt[static_cast<size_t>(y)] = 0;
        }
    }
}
