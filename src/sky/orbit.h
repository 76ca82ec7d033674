#pragma once
#include <cmath>
#include <numbers>

#include "core/constants.h"
#include "core/vec3.h"

// Steps shared by the planets and the Moon. Every step keeps the order of
// operations of the published theory, so that results agree to the last bit.

namespace orbit {

// Degrees to radians for the mean elements, in the theory's own order of
// operations (the correction terms take radians_per_degree).
inline double deg_to_rad(double degrees)
{
    return degrees * std::numbers::pi * 0.005555555555555555;
}

// One mean element of date, in degrees (or AU): base + rate * D.
struct Element {
    double base;
    double rate;
    double at(double d) const { return base + rate * d; }
};

// The Sun's argument of perihelion and mean anomaly: the Earth's orbit, the
// Moon's solar terms and the sidereal angle all take them.
inline constexpr Element sun_perihelion{282.9404, 4.70935e-05};
inline constexpr Element sun_mean_anomaly{356.047, 0.9856002585};

// Heliocentric (or geocentric) ecliptic coordinates of date.
struct Ecliptic {
    double x = 0;
    double y = 0;
    double z = 0;
};

// From the orbit plane (xv towards perihelion) to the ecliptic, with node n,
// inclination i and argument of perihelion w, all in radians.
inline Ecliptic plane_to_ecliptic(double xv, double yv, double n, double i, double w)
{
    double c = xv * std::cos(w) - yv * std::sin(w);
    double s = xv * std::sin(w) + yv * std::cos(w);
    return {std::cos(n) * c - std::sin(n) * s * std::cos(i),
            std::sin(n) * c + std::cos(n) * s * std::cos(i),
            std::sin(i) * s};
}

// Turns the position about the ecliptic pole by dlon, then tilts it towards
// the pole by dlat (radians).
inline void perturb(Ecliptic& h, double dlon, double dlat)
{
    double x = h.x * std::cos(dlon) - h.y * std::sin(dlon);
    double y = h.y * std::cos(dlon) + h.x * std::sin(dlon);
    double rho = std::sqrt(x * x + y * y);
    double scale = std::cos(dlat) - h.z * std::sin(dlat) / rho;
    h.z = rho * std::sin(dlat) + h.z * std::cos(dlat);
    h.x = x * scale;
    h.y = y * scale;
}

// Ecliptic to the space frame (x to 6h, y to the south pole, z to 12h), same unit.
inline Vec3 ecliptic_to_space(const Ecliptic& h, double cos_ecl, double sin_ecl)
{
    return {h.y * cos_ecl - h.z * sin_ecl, -(h.y * sin_ecl + h.z * cos_ecl), -h.x};
}

// The Earth-fixed viewer position turned into the space frame by the sidereal angle.
inline Vec3 viewer_in_space(const Vec3& viewpos, double sidereal_angle)
{
    return turn_about_y(viewpos, std::cos(sidereal_angle), std::sin(sidereal_angle));
}

// A space-frame direction turned back into the Earth-fixed frame.
inline Vec3 space_to_fixed(const Vec3& p, double sidereal_angle)
{
    return turn_about_y(p, std::cos(sidereal_angle), -std::sin(sidereal_angle));
}

}  // namespace orbit
