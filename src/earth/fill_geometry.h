#pragma once
#include <algorithm>
#include <cmath>

#include "core/camera.h"
#include "core/vec3.h"
#include "earth/shore.h"

// The view as the land and sea fill uses it, derived once per frame.
struct FillGeometry {
    Camera view;
    EyeOffsets eye;
    Horizon horizon;
    double w = 0;           // 1 / |E|^2
    bool far_side = false;  // project the far side too, no horizon cut
};

inline FillGeometry fill_geometry(const Camera& view, bool far_side)
{
    FillGeometry g;
    g.view = view;
    g.eye = eye_offsets(view);
    g.horizon = horizon_of(view);
    g.w = 1 / dot(view.viewpos, view.viewpos);
    g.far_side = far_side;
    return g;
}

inline Vec3 to_vec3(const Vec3f& p) { return {p.x, p.y, p.z}; }

inline CamPoint camera(const FillGeometry& g, Vec3 p) { return camera_point(g.view, g.eye, p); }

// A cap can be seen when its angular distance from the eye's direction is at
// most its radius plus the horizon's.
inline bool piece_visible(const FillGeometry& g, const Piece& p)
{
    const Vec3& E = g.view.viewpos;
    const double qe = p.q[0] * E.x + p.q[1] * E.y + p.q[2] * E.z;
    return qe * g.w - p.cos2 * g.w + p.cossin * std::sqrt((1 - g.w) * g.w) >= 0;
}

// Where the ray through screen point (x, y) first meets the sphere; a ray
// that misses at the rim gives the point where it passes closest.
inline Vec3 sphere_hit(const FillGeometry& g, double x, double y)
{
    const Vec3& E = g.view.viewpos;
    const Vec3 dir = pixel_ray(g.view, x, y);
    const double b = dot(E, dir);
    const double dd = dot(dir, dir);
    const double disc = b * b - dd * (dot(E, E) - 1);
    const double t = (-b - std::sqrt(std::max(disc, 0.0))) / dd;
    return E + dir * t;
}
