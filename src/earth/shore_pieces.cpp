#include <algorithm>
#include <cmath>

#include "core/vec3.h"
#include "earth/shore_build.h"

namespace {

// A run of a long loop ends once its ball is this wide and it has this many points.
constexpr double loop_break_radius = 0.1;
constexpr int32_t loop_break_points = 640;
constexpr double max_radius = 0.5;

Vec3 point_at(const Shore& shore, int32_t i)
{
    const Vec3f& p = shore.v[static_cast<size_t>(i)];
    return {p.x, p.y, p.z};
}

// The cap that the ball (centre c, squared radius r2) cuts from the unit sphere.
Piece cap_record(Vec3 c, double r2, int32_t end, int32_t loop, int32_t loop_end)
{
    const double l = length(c);
    const double h = (l + (1 - r2) / l) / 2;
    const Vec3 q = c * (h / l);
    // A one-point ball on a float vector of length just under 1 gives h just
    // above 1; its cap is that point.
    const double sin2 = std::max<double>(0, 1 - h * h);
    return {{static_cast<float>(q.x), static_cast<float>(q.y), static_cast<float>(q.z)},
            static_cast<float>(h * h), static_cast<float>(std::sqrt(sin2 * h * h)), end, loop, loop_end};
}

}  // namespace

bool build_pieces(Shore& shore)
{
    shore.lps.clear();
    const int32_t count = shore.pointcnt();
    if (count == 0) return true;

    int32_t start = 0;
    Vec3 c = point_at(shore, 0);
    double r = 0;
    double r2 = 0;
    int32_t m = 0;
    int32_t e = shore.loopnum[0];
    for (int32_t i = 1; i < count; ++i) {
        if (i == e) e += shore.loopnum[static_cast<size_t>(++m)];
        const Vec3 d = point_at(shore, i) - c;
        const double d2 = dot(d, d);
        if (d2 <= r2) continue;
        const double s = std::sqrt(d2);
        const double t = (s - r) / 2;
        const double grown = r + t;
        const bool loop_start = i == e - shore.loopnum[static_cast<size_t>(m)];
        const bool long_loop_run = shore.loopnum[static_cast<size_t>(m)] > loop_break_points && i >= start + loop_break_points;
        if ((grown > loop_break_radius && (loop_start || long_loop_run)) || grown >= max_radius) {
            if (shore.lpscnt() == lps_records - 1) {
                // No room left for caps: one record takes the rest and is
                // always drawn, so the renderer never runs out of pieces.
                shore.lps.push_back({{0, 0, 0}, 0, 0, count, shore.loopcnt(), count});
                return false;
            }
            shore.lps.push_back(cap_record(c, r2, i, m, e));
            start = i;
            c = point_at(shore, i);
            r = 0;
            r2 = 0;
        } else {
            c = c + d * (t / s);
            r = grown;
            r2 = r * r;
        }
    }
    shore.lps.push_back(cap_record(c, r2, count, shore.loopcnt(), count));
    return true;
}
