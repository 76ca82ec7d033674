#pragma once
#include <algorithm>
#include <cmath>

#include "core/vec3.h"
#include "core/camera.h"
#include "earth/shore.h"

// The view as the land and sea fill uses it, derived once per frame.
struct FillGeometry {
    Vec3 E, R, D, F;        // eye and camera basis
    Vec3 up;                // E / |E|
    double inv_len = 0;     // 1 / |E|
    double w = 0;           // 1 / |E|^2
    double ER = 0, ED = 0, EF = 0;
    double cx = 0, cy = 0;  // screen centre
    double f = 0;           // focal distance in pixels
    bool far_side = false;  // project the far side too, no horizon cut
};

// Camera coordinates of a point: right, down and depth from the eye.
struct CamPoint {
    double sx, sy, depth;
};

// Nearer than this to the eye plane a point is not projected.
constexpr double near_limit = 1.0 / 2048;

inline FillGeometry fill_geometry(const Camera& view, bool far_side)
{
    FillGeometry g;
    g.E = view.viewpos;
    g.R = view.viewright;
    g.D = view.viewdown;
    g.F = view.viewfwd;
    const double e2 = dot(g.E, g.E);
    g.w = 1 / e2;
    g.inv_len = 1 / std::sqrt(e2);
    g.up = g.E * g.inv_len;
    g.ER = dot(g.E, g.R);
    g.ED = dot(g.E, g.D);
    g.EF = dot(g.E, g.F);
    g.cx = view.xres_half;
    g.cy = view.yres_half;
    g.f = view.zoom_half;
    g.far_side = far_side;
    return g;
}

inline Vec3 to_vec3(const Vec3f& p) { return {p.x, p.y, p.z}; }

// Non-negative on the hemisphere that faces the eye.
inline double horizon(const FillGeometry& g, Vec3 p) { return dot(p, g.up) - g.inv_len; }

inline CamPoint camera(const FillGeometry& g, Vec3 p)
{
    return {dot(p, g.R) - g.ER, dot(p, g.D) - g.ED, dot(p, g.F) - g.EF};
}

// The point t of the way from a to b.
inline CamPoint towards(const CamPoint& a, const CamPoint& b, double t)
{
    return {a.sx + t * (b.sx - a.sx), a.sy + t * (b.sy - a.sy), a.depth + t * (b.depth - a.depth)};
}

// A cap can be seen when its angular distance from the eye's direction is at
// most its radius plus the horizon's.
inline bool piece_visible(const FillGeometry& g, const Piece& p)
{
    const double qe = p.q[0] * g.E.x + p.q[1] * g.E.y + p.q[2] * g.E.z;
    return qe * g.w - p.cos2 * g.w + p.cossin * std::sqrt((1 - g.w) * g.w) >= 0;
}

// Where the ray through screen point (x, y) first meets the sphere; a ray
// that misses at the rim gives the point where it passes closest.
inline Vec3 sphere_hit(const FillGeometry& g, double x, double y)
{
    const Vec3 dir = g.R * (x - g.cx) + g.D * (y - g.cy) + g.F * g.f;
    const double b = dot(g.E, dir);
    const double dd = dot(dir, dir);
    const double disc = b * b - dd * (dot(g.E, g.E) - 1);
    const double t = (-b - std::sqrt(std::max(disc, 0.0))) / dd;
    return g.E + dir * t;
}
