#include "earth/fill_caps.h"

#include <algorithm>
#include <cmath>

#include "core/conic.h"
#include "earth/fill.h"

namespace {

// The cone from the eye through the circle (centre C, unit normal n, radius
// rho, camera coordinates) meets the screen where G(w) = 0 with
// G(w) = (n.w)^2 (|P(w) - C|^2 - rho^2), P(w) the ray's point on the
// circle's plane; G <= 0 inside the circle.
RayQuadric circle_quadric(Vec3 C, Vec3 n, double rho)
{
    const double k = dot(n, C);
    const double s = dot(C, C) - rho * rho;
    const auto m = [&](double ci, double ni, double cj, double nj, bool diagonal) {
        return (diagonal ? k * k : 0) - k * (ci * nj + ni * cj) + s * ni * nj;
    };
    return {m(C.x, n.x, C.x, n.x, true),   m(C.y, n.y, C.y, n.y, true),   m(C.z, n.z, C.z, n.z, true),
            m(C.x, n.x, C.y, n.y, false), m(C.x, n.x, C.z, n.z, false), m(C.y, n.y, C.z, n.z, false)};
}

}  // namespace

void outline_caps(const FillGeometry& g, const Shore& shore, const FrameBuffer& frame, Spans& spans)
{
    std::fill(spans.xpcnt.begin(), spans.xpcnt.end(), 0);
    for (int32_t i = shore.lpscnt() - 1; i >= 0; --i) {
        const Piece& p = shore.lps[static_cast<size_t>(i)];
        const Vec3 q{p.q[0], p.q[1], p.q[2]};
        const double cos_theta = length(q);
        if (!piece_visible(g, p) || !(cos_theta > 0)) continue;
        const CamPoint centre = camera(g, q);
        const Vec3 axis = q * (1 / cos_theta);
        const Vec3 n{dot(axis, g.view.viewright), dot(axis, g.view.viewdown), dot(axis, g.view.viewfwd)};
        const RayQuadric k = circle_quadric({centre.sx, centre.sy, centre.depth}, n,
                                            std::sqrt(std::max<double>(1.0 - p.cos2, 0)));
        const RowRange rows = quadric_spans(g.view, frame, spans, k);
        for (int32_t y = rows.first; y < rows.end; ++y) {
            // The pair is clipped to the frame, so both ends are on it.
            const int32_t* row = spans.row(y);
            if (row[0] < row[1]) frame.row(y)[row[0]] = frame.row(y)[row[1] - 1] = cap_outline_colour;
            spans.xpcnt[static_cast<size_t>(y)] = 0;
        }
    }
}
