#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/conic.h"
#include "sky/sky.h"

namespace {

// Which side of the plane through the eye spanned by the terminator's axis
// and the projected light a pixel lies on: lit when x * sx < y * sy + s0.
struct SideTest {
    double sx = 0;
    double sy = 0;
    double s0 = 0;
    uint8_t lit = 0;
    uint8_t dark = 0;
    uint8_t at(int32_t x, int32_t y) const
    {
        return static_cast<double>(x) * sx < static_cast<double>(y) * sy + s0 ? lit : dark;
    }
};

// What a disc paints into: the frame, less the pixels where the Earth is
// nearer than the body; painted counts the pixels written.
struct DiscTarget {
    const Camera& view;
    const FrameBuffer& frame;
    double depth;
    int32_t painted = 0;
};

// Row y from left to right, clipped to the frame, each pixel in the colour
// colour_at(x) gives it.
template <class ColourAt>
void paint_run(DiscTarget& target, int32_t y, int32_t left, int32_t right, ColourAt colour_at)
{
    left = std::max(left, 0);
    right = std::min(right, target.frame.frame_xres);
    uint8_t* row = target.frame.row(y);
    for (int32_t x = left; x < right; ++x) {
        if (earth_covers(target.view, x, y, target.depth)) continue;
        row[x] = colour_at(x);
        ++target.painted;
    }
}

void fill_run(DiscTarget& target, int32_t y, int32_t left, int32_t right, uint8_t colour)
{
    paint_run(target, y, left, right, [colour](int32_t) { return colour; });
}

// The limb: screen points whose viewing ray w = (x - xres_half, y - yres_half,
// zoom_half) meets the sphere of angular radius rho about u.
RowRange limb_spans(const Camera& v, const FrameBuffer& frame, Spans& spans, const Vec3& u, double rho2)
{
    double k = rho2 - 1;
    double e0 = v.yres_half * u.y + v.xres_half * u.x - v.zoom_half * u.z;
    return conicspans(frame, spans, k + u.x * u.x, 2 * u.x * u.y, k + u.y * u.y, 2 * (-u.x * e0 - v.xres_half * k),
                      2 * (-u.y * e0 - v.yres_half * k), k * v.corner_dist2 + e0 * e0);
}

// The terminator: the projection of the body's great circle facing the
// light, the quadratic form rho^2 (L.w)^2 + (n.w)^2 - |w|^2 + (u.w)^2 in w.
RowRange terminator_spans(const Camera& v, const FrameBuffer& frame, Spans& spans, const Vec3& u, const Vec3& l,
                          const Vec3& n, double rho2)
{
    const RayQuadric q{rho2 * l.x * l.x + n.x * n.x - 1 + u.x * u.x, rho2 * l.y * l.y + n.y * n.y - 1 + u.y * u.y,
                       rho2 * l.z * l.z + n.z * n.z - 1 + u.z * u.z, rho2 * l.x * l.y + n.x * n.y + u.x * u.y,
                       rho2 * l.x * l.z + n.x * n.z + u.x * u.z,     rho2 * l.y * l.z + n.y * n.z + u.y * u.z};
    return quadric_spans(v, frame, spans, q);
}

SideTest side_test(const Camera& v, const Vec3& u, const Vec3& l, const Vec3& n, double rho2,
                   uint8_t lit, uint8_t dark)
{
    Vec3 p = u * dot(n, n) + cross(n, l) * rho2;
    double gr = n.z * p.y - n.y * p.z;
    double gd = n.z * p.x - n.x * p.z;
    double s0 = (v.xres_half * p.z + v.zoom_half * p.x) * gr - (v.yres_half * p.z + v.zoom_half * p.y) * gd;
    return {gr * p.z, gd * p.z, s0, lit, dark};
}

}  // namespace

bool earth_covers(const Camera& view, int32_t x, int32_t y, double depth)
{
    // Along a ray zoom_half long on viewfwd, t is the hit's depth in those units.
    const double depth_units = depth * (1e6 / earth_radius_miles) / view.zoom_half;
    double t = 0;
    return nearer_hit(view.viewpos, dot(view.viewpos, view.viewpos) - 1, pixel_ray(view, x, y), t) && t > 0 &&
           t < depth_units;
}

int32_t draw_disc(const Camera& view, const FrameBuffer& frame, Spans& spans, const Vec3& p,
                  const Vec3& to_sun, double diameter, uint8_t lit)
{
    if (spans.rows < frame.frame_yres) return 0;
    double dist = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    Vec3 u = {p.x / dist, p.y / dist, p.z / dist};
    double rho = diameter * (1 / dist) * 5e-07;
    double rho2 = rho * rho;
    double sun_dist = length(to_sun);
    Vec3 l = sun_dist > 0 ? Vec3{to_sun.x / sun_dist, to_sun.y / sun_dist, to_sun.z / sun_dist} : -u;
    if (!(u.z > 0)) return 0;
    DiscTarget target{view, frame, p.z};

    std::fill(spans.xpcnt.begin(), spans.xpcnt.end(), 0);
    const RowRange limb = limb_spans(view, frame, spans, u, rho2);
    if (limb.end <= limb.first) return 0;
    Vec3 n = cross(u, l);
    const RowRange terminator = terminator_spans(view, frame, spans, u, l, n, rho2);

    uint8_t dark = static_cast<uint8_t>(lit - 8);
    uint8_t cu = dot(u, l) < 0 ? lit : dark;
    auto has = [&](int32_t y, int32_t entries) { return spans.xpcnt[static_cast<size_t>(y)] >= entries; };

    // The light straight behind or in front: one colour for the whole disc.
    if (rho2 >= dot(n, n)) {
        for (int32_t y = limb.first; y < limb.end; ++y)
            if (has(y, 2)) fill_run(target, y, spans.row(y)[0], spans.row(y)[1], cu);
        return target.painted;
    }

    // Rows through the terminator: its ellipse in the uniform colour, the
    // parts on either side by the side test at their outer ends. Other rows
    // take the side test pixel by pixel: they lie on one side of the
    // dividing line, except when the terminator is seen edge-on and its
    // conic degenerates to that line.
    SideTest side = side_test(view, u, l, n, rho2, lit, dark);
    for (int32_t y = limb.first; y < limb.end; ++y) {
        if (!has(y, 2)) continue;
        const int32_t* e = spans.row(y);
        if (y >= terminator.first && y < terminator.end && has(y, 4)) {
            // Where the rim is clipped the terminator's pair may stray past
            // the disc's: keep it within.
            int32_t t0 = std::clamp(e[2], e[0], std::max(e[0], e[1]));
            int32_t t1 = std::clamp(e[3], t0, std::max(t0, e[1]));
            fill_run(target, y, e[0], t0, side.at(e[0], y));
            fill_run(target, y, t0, t1, cu);
            fill_run(target, y, t1, e[1], side.at(e[1], y));
        } else {
            paint_run(target, y, e[0], e[1], [&](int32_t x) { return side.at(x, y); });
        }
    }
    return target.painted;
}
