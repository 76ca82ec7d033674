#include <cmath>

#include "sky/ephemeris.h"
#include "sky/orbit.h"

namespace {

constexpr double moon_inclination = 0.08980417133211623;  // 5.1454 degrees
constexpr double moon_eccentricity = 0.0549;
constexpr double mmiles_per_earth_radius = 0.003963339561216328;

// Periodic corrections (degrees) to the Moon's longitude and latitude from its
// mean anomaly m, the mean elongation dm, the argument of latitude f and the
// Sun's mean anomaly ms (radians).
double longitude_terms(double m, double dm, double f, double ms)
{
    return -1.274 * std::sin(m - 2 * dm) + 0.658 * std::sin(2 * dm)
           - 0.186 * std::sin(ms) - 0.059 * std::sin(2 * m - 2 * dm)
           - 0.057 * std::sin(m - 2 * dm + ms) + 0.053 * std::sin(m + 2 * dm)
           + 0.046 * std::sin(2 * dm - ms) + 0.041 * std::sin(m - ms)
           - 0.035 * std::sin(dm) - 0.031 * std::sin(m + ms)
           - 0.015 * std::sin(2 * f - 2 * dm) + 0.011 * std::sin(m - 4 * dm);
}

double latitude_terms(double m, double dm, double f)
{
    return -0.173 * std::sin(f - 2 * dm) - 0.055 * std::sin(m - f - 2 * dm)
           - 0.046 * std::sin(m + f - 2 * dm) + 0.033 * std::sin(f + 2 * dm)
           + 0.017 * std::sin(2 * m + f);
}

}  // namespace

Vec3 moon_position(const Instant& time, const Vec3& viewpos)
{
    double d = time.day_number;
    double n = orbit::deg_to_rad(125.1228 - 0.0529538083 * d);
    double w = orbit::deg_to_rad(318.0634 + 0.1643573223 * d);
    double m = orbit::deg_to_rad(115.3654 + 13.0649929509 * d);
    double ms = orbit::deg_to_rad(orbit::sun_mean_anomaly.at(d));
    double ws = orbit::deg_to_rad(orbit::sun_perihelion.at(d));

    double lm = n + w + m;
    double ls = ws + ms;
    double dm = lm - ls;
    double f = lm - n;

    double ecc = solve_kepler(m, moon_eccentricity);
    // The distance terms scale the whole ellipse (Earth radii).
    double cd = 60.2666 - 0.58 * std::cos(m - 2 * dm) - 0.46 * std::cos(2 * dm);
    double xv = cd * (std::cos(ecc) - moon_eccentricity);
    double yv = cd * std::sqrt(0.99698599) * std::sin(ecc);

    orbit::Ecliptic h = orbit::plane_to_ecliptic(xv, yv, n, moon_inclination, w);
    orbit::perturb(h, longitude_terms(m, dm, f, ms) * radians_per_degree,
                   latitude_terms(m, dm, f) * radians_per_degree);

    Vec3 geocentric = orbit::ecliptic_to_space(h, time.cos_ecl, time.sin_ecl);
    Vec3 eye = orbit::viewer_in_space(viewpos, time.sidereal_angle);
    return (geocentric - eye) * mmiles_per_earth_radius;
}
