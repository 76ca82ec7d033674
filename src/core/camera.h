#pragma once
// The camera every renderer projects through, and its clipping of segments
// to the screen.
#include <algorithm>
#include <cmath>

#include "core/vec3.h"

// The one camera and its projection, in the Earth-fixed frame (unit: one
// Earth radius; -y points to the North Pole). Every renderer reads it.
struct Camera {
    Vec3 viewpos, viewright, viewdown, viewfwd, viewvel;
    double zoom = 0;
    double zoom_half = 0;
    double xres_half = 0;
    double yres_half = 0;
    double corner_dist2 = 0;
};

// The nearer point where the ray eye + t * dir meets the unit sphere, as t;
// false when the ray misses it. lift is dot(eye, eye) - 1.
inline bool nearer_hit(const Vec3& eye, double lift, const Vec3& dir, double& t)
{
    const double b = dot(eye, dir);
    const double dd = dot(dir, dir);
    const double disc = b * b - dd * lift;
    if (!(disc >= 0 && dd > 0)) return false;
    t = (-b - std::sqrt(disc)) / dd;
    return true;
}

// The ray from the eye through pixel (x, y), zoom_half long along viewfwd.
inline Vec3 pixel_ray(const Camera& view, double x, double y)
{
    return view.viewright * (x - view.xres_half) + view.viewdown * (y - view.yres_half) + view.viewfwd * view.zoom_half;
}

// Camera coordinates of a point: right, down and depth from the eye.
struct CamPoint {
    double sx, sy, depth;
};

// The eye's offsets along the camera axes, taken once per frame, so that a
// point's camera coordinates cost three dot products.
struct EyeOffsets {
    double er = 0, ed = 0, ef = 0;
};

inline EyeOffsets eye_offsets(const Camera& view)
{
    return {dot(view.viewpos, view.viewright), dot(view.viewpos, view.viewdown), dot(view.viewpos, view.viewfwd)};
}

inline CamPoint camera_point(const Camera& view, const EyeOffsets& eye, const Vec3& p)
{
    return {dot(p, view.viewright) - eye.er, dot(p, view.viewdown) - eye.ed, dot(p, view.viewfwd) - eye.ef};
}

// The point t of the way from a to b.
inline CamPoint towards(const CamPoint& a, const CamPoint& b, double t)
{
    return {a.sx + t * (b.sx - a.sx), a.sy + t * (b.sy - a.sy), a.depth + t * (b.depth - a.depth)};
}

// The screen position of a point in front of the eye.
inline void project(const Camera& view, const CamPoint& c, double& x, double& y)
{
    x = view.xres_half + view.zoom_half * c.sx / c.depth;
    y = view.yres_half + view.zoom_half * c.sy / c.depth;
}

// The unit sphere's horizon as seen from the eye.
struct Horizon {
    Vec3 up;             // the eye's direction from the centre
    double inv_len = 0;  // 1 / the eye's distance
};

inline Horizon horizon_of(const Camera& view)
{
    const double inv_len = 1 / std::sqrt(dot(view.viewpos, view.viewpos));
    return {view.viewpos * inv_len, inv_len};
}

// Non-negative on the hemisphere that faces the eye.
inline double above_horizon(const Horizon& h, const Vec3& p) { return dot(p, h.up) - h.inv_len; }

// A line from a to b with horizon values ha and hb, not both negative, cut to
// its part above the horizon: t_in and t_out are the fractions cut from
// each end, left alone where that end is above.
inline void clip_horizon(double ha, double hb, double& t_in, double& t_out)
{
    if (ha < 0) t_in = ha / (ha - hb);
    if (hb < 0) t_out = hb / (hb - ha);
}

// Nearer than this to the eye plane a point is not projected.
constexpr double near_limit = 1.0 / 2048;

// The same for the near limit, given the depths of a and b; false when none
// of the line is left.
inline bool clip_near(double da, double db, double& t_in, double& t_out)
{
    const bool a_near = da < near_limit, b_near = db < near_limit;
    if (a_near && b_near) return false;
    if (b_near) t_out = std::max(t_out, (db - near_limit) / (db - da));
    if (a_near) t_in = std::max(t_in, (da - near_limit) / (da - db));
    return !((a_near || b_near) && t_in + t_out >= 1);
}
