#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sky/clock.h"
#include "sky/ephemeris.h"

namespace {

constexpr double au = 92.9558068380657;
constexpr double deg = std::numbers::pi / 180;

// The moment y-m-d h:mi UT, with the clock's own derived quantities.
TimeState moment_ut(int y, int mo, int d, int h = 0, int mi = 0)
{
    TimeState t;
    t.clock_year = y;
    t.clock_month = mo;
    t.clock_day = d;
    t.clock_hour = h;
    t.clock_minute = mi;
    t.tzinfo = TimeZoneInfo{};
    update_time(t, 0, CivilTime{});
    return t;
}

// A point at the given height (Earth radii) above latitude, longitude in degrees.
Vec3 place(double lat, double lon, double r = 1)
{
    double phi = -lat * deg;
    double lambda = lon * deg;
    return Vec3{std::sin(lambda) * std::cos(phi), std::sin(phi), -std::cos(phi) * std::cos(lambda)} * r;
}

// Space-frame direction to Earth-fixed at sidereal angle s.
Vec3 to_earth_fixed(const Vec3& v, double s)
{
    return {v.x * std::cos(s) + v.z * std::sin(s), v.y, v.z * std::cos(s) - v.x * std::sin(s)};
}

TEST(Ephemeris, SunIsTheOriginForEveryMomentAndViewer)
{
    for (int year : {1950, 2000, 2049}) {
        TimeState t = moment_ut(year, 3, 14, 15, 9);
        for (Vec3 eye : {Vec3{}, place(41.7, -71.5, 1.001), place(-33, 151, 3)}) {
            Vec3 sun = planet_position(sun_index, t, eye);
            EXPECT_EQ(sun.x, 0.0);
            EXPECT_EQ(sun.y, 0.0);
            EXPECT_EQ(sun.z, 0.0);
        }
    }
}

// Perihelion early in January at 0.9833 AU, aphelion early in July at 1.0167 AU.
TEST(Ephemeris, EarthSunDistanceFollowsTheOrbitOverAYear)
{
    double nearest = 10, farthest = 0;
    double nearest_day = 0, farthest_day = 0;
    TimeState start = moment_ut(2021, 1, 1);
    for (int hour = 0; hour < 366 * 24; hour += 3) {
        TimeState t = moment_ut(2021, 1, 1 + hour / 24, hour % 24);
        double r = length(planet_position(moon_index, t, Vec3{})) / au;
        ASSERT_GT(r, 0.983);
        ASSERT_LT(r, 1.017);
        if (r < nearest) nearest = r, nearest_day = t.day_number - start.day_number;
        if (r > farthest) farthest = r, farthest_day = t.day_number - start.day_number;
    }
    EXPECT_LT(nearest, 0.9835);
    EXPECT_GT(farthest, 1.0165);
    EXPECT_LT(nearest_day, 6);
    EXPECT_GT(farthest_day, 180);
    EXPECT_LT(farthest_day, 190);
}

long double kepler_residual(double e, double m, double ecc)
{
    long double reduced = m;
    return static_cast<long double>(ecc) - e * std::sin(static_cast<long double>(ecc)) - reduced;
}

TEST(Ephemeris, KeplerSolvesMercurysEquationOverAWholeTurn)
{
    const double e = 0.205635;
    const double two_pi = 6.283185307179586;
    for (int i = 0; i < 200000; ++i) {
        double m = two_pi * i / 200000;
        double ecc = solve_kepler(m, e);
        ASSERT_LE(std::fabs(kepler_residual(e, m, ecc)), 1e-15L) << "M = " << m;
    }
    // Just below a whole turn, where the reduction must not push M to 2 pi.
    double last = std::nextafter(two_pi, 0.0);
    EXPECT_LE(std::fabs(kepler_residual(e, last, solve_kepler(last, e))), 1e-15L);
}

TEST(Ephemeris, KeplerReducesTheMeanAnomalyIntoOneTurn)
{
    const double two_pi = 6.283185307179586;
    // Without eccentricity the result is M itself, reduced into [0, 2 pi).
    EXPECT_EQ(solve_kepler(1.25, 0), 1.25);
    EXPECT_NEAR(solve_kepler(1.25 + 3 * two_pi, 0), 1.25, 1e-14);
    EXPECT_NEAR(solve_kepler(-0.5, 0), two_pi - 0.5, 1e-15);
    double big = solve_kepler(-1000.3, 0);
    EXPECT_GE(big, 0);
    EXPECT_LT(big, two_pi);
    // Whole turns added to M change nothing but rounding.
    for (double m : {0.1, 2.0, 4.5, 6.2}) {
        double e0 = solve_kepler(m, 0.205635);
        for (int turns : {-40, -1, 1, 7, 3000}) {
            double ek = solve_kepler(m + turns * two_pi, 0.205635);
            EXPECT_NEAR(std::sin(ek), std::sin(e0), 1e-9);
            EXPECT_NEAR(std::cos(ek), std::cos(e0), 1e-9);
        }
    }
}

TEST(Ephemeris, MoonStaysAtLunarDistanceFromSurfaceViewers)
{
    double nearest = 1, farthest = 0;
    for (int day = 0; day < 36525; day += 7) {
        TimeState t = moment_ut(1950, 1, 1 + day, day % 24);
        Vec3 eye = place((day % 170) - 85.0, (day * 37 % 360) - 180.0);
        double r = length(moon_position(t, eye));
        // The closest perigees, 221 000 miles, less an Earth radius come below 0.22.
        ASSERT_GT(r, 0.217);
        ASSERT_LT(r, 0.26);
        nearest = std::fmin(nearest, r);
        farthest = std::fmax(farthest, r);
    }
    // Perigee less an Earth radius, apogee plus one.
    EXPECT_LT(nearest, 0.2265);
    EXPECT_GT(farthest, 0.2505);
}

// A viewer where the body stands overhead is one Earth radius nearer than
// one on the far side, and sees it in the same direction: the eye is turned
// into the space frame the right way round.
TEST(Ephemeris, ViewerOffsetTurnsWithTheEarth)
{
    for (TimeState t : {moment_ut(1987, 6, 5, 4, 3), moment_ut(2031, 11, 30, 21, 50)}) {
        Vec3 sun = -planet_position(moon_index, t, Vec3{});
        Vec3 below_sun = to_earth_fixed(sun * (1 / length(sun)), t.sidereal_angle);
        double near_side = length(planet_position(moon_index, t, below_sun));
        double far_side = length(planet_position(moon_index, t, -below_sun));
        // The Earth's share of the barycentre follows the Moon as the viewer
        // sees it, which adds 1.23 % of the viewer's offset.
        EXPECT_NEAR(far_side - near_side, 2 * 0.003964, 1.5e-4);

        Vec3 moon = moon_position(t, Vec3{});
        Vec3 below_moon = to_earth_fixed(moon * (1 / length(moon)), t.sidereal_angle);
        Vec3 overhead = moon_position(t, below_moon);
        EXPECT_NEAR(length(moon) - length(overhead), 0.003963339561216328, 1e-12);
        EXPECT_NEAR(dot(overhead, moon) / (length(overhead) * length(moon)), 1, 1e-15);
    }
}

}  // namespace
