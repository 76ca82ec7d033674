#include "sky/ephemeris.h"

#include <cmath>
#include <numbers>

#include "core/constants.h"
#include "sky/orbit.h"

namespace {

constexpr double two_pi = 2 * std::numbers::pi;
constexpr double mmiles_per_au = 92.9558068380657;
constexpr double moon_mass_ratio = 0.0123;

// Mean elements of date: node, inclination, argument of perihelion and mean
// anomaly in degrees, semi-major axis in AU, eccentricity. Row 2 is the
// Sun's apparent orbit; its axis of -1 gives the Earth's heliocentric place.
struct Elements {
    orbit::Element n, i, w, a, e, m;
};

constexpr Elements planet_elements[] = {
    {{48.3313, 3.24587e-05}, {7.0047, 5e-08}, {29.1241, 1.01444e-05},
     {0.387098, 0}, {0.205635, 5.59e-10}, {168.6562, 4.0923344368}},
    {{76.6799, 2.4659e-05}, {3.3946, 2.75e-08}, {54.891, 1.38374e-05},
     {0.72333, 0}, {0.006773, -1.302e-09}, {48.0052, 1.6021302244}},
    {{0, 0}, {0, 0}, orbit::sun_perihelion,
     {-1.0, 0}, {0.016709, -1.151e-09}, orbit::sun_mean_anomaly},
    {{49.5574, 2.11081e-05}, {1.8497, -1.78e-08}, {286.5016, 2.92961e-05},
     {1.523688, 0}, {0.093405, 2.516e-09}, {18.6021, 0.5240207766}},
    {{100.4542, 2.76854e-05}, {1.303, -1.557e-07}, {273.8777, 1.64505e-05},
     {5.20256, 0}, {0.048498, 4.469e-09}, {19.895, 0.0830853001}},
    {{113.6634, 2.3898e-05}, {2.4886, -1.081e-07}, {339.3939, 2.97661e-05},
     {9.55475, 0}, {0.055546, -9.499e-09}, {316.967, 0.0334442282}},
    {{74.0005, 1.3978e-05}, {0.7733, 1.9e-08}, {96.6612, 3.0565e-05},
     {19.18171, -1.55e-08}, {0.047318, 7.45e-09}, {142.5905, 0.011725806}},
    {{131.7806, 3.0173e-05}, {1.77, -2.55e-07}, {272.8461, -6.027e-06},
     {30.05826, 3.313e-08}, {0.008606, 2.15e-09}, {260.2471, 0.005995147}},
};

constexpr int32_t jupiter = 4;
constexpr int32_t saturn = 5;
constexpr int32_t uranus = 6;
constexpr int32_t pluto = 8;

double mean_anomaly(int32_t index, double d)
{
    return orbit::deg_to_rad(planet_elements[index].m.at(d));
}

orbit::Ecliptic kepler_orbit(const Elements& el, double d)
{
    double n = orbit::deg_to_rad(el.n.at(d));
    double i = orbit::deg_to_rad(el.i.at(d));
    double w = orbit::deg_to_rad(el.w.at(d));
    double m = orbit::deg_to_rad(el.m.at(d));
    double a = el.a.at(d);
    double e = el.e.at(d);
    double ecc = solve_kepler(m, e);
    double xv = a * (std::cos(ecc) - e);
    double yv = a * std::sqrt(1 - e * e) * std::sin(ecc);
    return orbit::plane_to_ecliptic(xv, yv, n, i, w);
}

// The mutual perturbations of the giant planets, longitude and latitude in
// radians; the phase constants are the published degrees held in radians.
void perturb_giant(int32_t index, double d, orbit::Ecliptic& h)
{
    double mj = mean_anomaly(jupiter, d);
    double ms = mean_anomaly(saturn, d);
    double mu = mean_anomaly(uranus, d);
    double dlon = 0;
    double dlat = 0;
    if (index == jupiter) {
        dlon = -0.332 * std::sin(2 * mj - 5 * ms + -1.1798425743481669)
               - 0.056 * std::sin(2 * mj - 2 * ms + 0.3665191429188092)
               + 0.042 * std::sin(3 * mj - 5 * ms + 0.3665191429188092)
               - 0.036 * std::sin(mj - 2 * ms)
               + 0.022 * std::cos(mj - ms)
               + 0.023 * std::sin(2 * mj - 3 * ms + 0.9075712110370514)
               - 0.016 * std::sin(mj - 5 * ms + -1.2042771838760875);
    } else if (index == saturn) {
        dlon = 0.812 * std::sin(2 * mj - 5 * ms + -1.1798425743481669)
               - 0.229 * std::cos(2 * mj - 4 * ms + -0.03490658503988659)
               + 0.119 * std::sin(mj - 2 * ms + -0.05235987755982988)
               + 0.046 * std::sin(2 * mj - 6 * ms + -1.2042771838760875)
               + 0.014 * std::sin(mj - 3 * ms + 0.5585053606381855);
        dlat = -0.02 * std::cos(2 * mj - 4 * ms + -0.03490658503988659)
               + 0.018 * std::sin(2 * mj - 6 * ms + -0.8552113334772214);
    } else {
        dlon = 0.04 * std::sin(ms - 2 * mu + 0.10471975511965977)
               + 0.035 * std::sin(ms - 3 * mu + 0.5759586531581288)
               - 0.015 * std::sin(mj - mu + 0.3490658503988659);
    }
    orbit::perturb(h, dlon * radians_per_degree, dlat * radians_per_degree);
}

// Pluto from its trigonometric series (degrees, AU).
orbit::Ecliptic pluto_orbit(double d)
{
    double p = (238.95 + 0.003968789 * d) * radians_per_degree;
    double s = (50.03 + 0.033459652 * d) * radians_per_degree;
    double lon = 238.9508 + 0.00400703 * d
                 - 19.799 * std::sin(p) + 19.848 * std::cos(p)
                 + 0.897 * std::sin(2 * p) - 4.956 * std::cos(2 * p)
                 + 0.61 * std::sin(3 * p) + 1.211 * std::cos(3 * p)
                 - 0.341 * std::sin(4 * p) - 0.19 * std::cos(4 * p)
                 + 0.128 * std::sin(5 * p) - 0.034 * std::cos(5 * p)
                 - 0.038 * std::sin(6 * p) + 0.031 * std::cos(6 * p)
                 + 0.02 * std::sin(s - p) - 0.01 * std::cos(s - p);
    double lat = -3.9082
                 - 5.453 * std::sin(p) - 14.975 * std::cos(p)
                 + 3.527 * std::sin(2 * p) + 1.673 * std::cos(2 * p)
                 - 1.051 * std::sin(3 * p) + 0.328 * std::cos(3 * p)
                 + 0.179 * std::sin(4 * p) - 0.292 * std::cos(4 * p)
                 + 0.019 * std::sin(5 * p) + 0.1 * std::cos(5 * p)
                 - 0.031 * std::sin(6 * p) - 0.026 * std::cos(6 * p)
                 + 0.011 * std::cos(s - p);
    double r = 40.72
               + 6.68 * std::sin(p) + 6.9 * std::cos(p)
               - 1.18 * std::sin(2 * p) - 0.03 * std::cos(2 * p)
               + 0.15 * std::sin(3 * p) - 0.14 * std::cos(3 * p);
    double l = orbit::deg_to_rad(lon);
    double b = orbit::deg_to_rad(lat);
    return {r * std::cos(l) * std::cos(b), r * std::sin(l) * std::cos(b), r * std::sin(b)};
}

// The viewer from the Earth's orbit (row 2 above): the Earth's centre moved
// to the eye, less the Earth's part of the Earth-Moon barycentre's motion.
Vec3 viewer_from_earth_orbit(const Vec3& earth, const Instant& time, const Vec3& viewpos)
{
    Vec3 eye = orbit::viewer_in_space(viewpos, time.sidereal_angle) * (earth_radius_miles * 1e-06);
    Vec3 p = earth + eye;
    Vec3 moon = moon_position(time, viewpos);
    return p - moon * moon_mass_ratio;
}

}  // namespace

double solve_kepler(double m, double e)
{
    m = m - std::trunc(m * 0.15915494309189535) * two_pi;
    while (m < 0) m += two_pi;
    while (m >= two_pi) m -= two_pi;
    double ecc = m + e * std::sin(m) * (1 + e * std::cos(m));
    for (int step = 0; step < 8; ++step) {
        double next = ecc + (m - ecc + e * std::sin(ecc)) / (1 - e * std::cos(ecc));
        if (next == ecc) break;
        ecc = next;
    }
    return ecc;
}

Vec3 planet_position(int32_t index, const Instant& time, const Vec3& viewpos)
{
    if (index == sun_index) return {};
    double d = time.day_number;
    orbit::Ecliptic h = index == pluto ? pluto_orbit(d) : kepler_orbit(planet_elements[index], d);
    if (index == jupiter || index == saturn || index == uranus) perturb_giant(index, d, h);
    const Vec3 p = orbit::ecliptic_to_space(h, time.cos_ecl, time.sin_ecl) * mmiles_per_au;
    return index == moon_index ? viewer_from_earth_orbit(p, time, viewpos) : p;
}

Vec3 viewer_position(const Instant& time, const Vec3& viewpos) { return planet_position(moon_index, time, viewpos); }

Vec3 seen_from_viewer(int32_t body, const Instant& time, const Vec3& viewpos)
{
    if (body == moon_index) return moon_position(time, viewpos);
    return planet_position(body, time, viewpos) - viewer_position(time, viewpos);
}

Vec3 body_direction(int32_t body, const Instant& time, const Vec3& viewpos)
{
    return orbit::space_to_fixed(seen_from_viewer(body, time, viewpos), time.sidereal_angle);
}
