#pragma once
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
