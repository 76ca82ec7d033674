#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "app/view_ops.h"
#include "sky/clock.h"
#include "sky/ephemeris.h"

namespace {

TimeState moment_ut(int y, int mo, int d, int h = 0)
{
    TimeState t;
    set_clock(t, {y, mo, d, h, 0, 0});
    return t;
}

Vec3 place(double lat, double lon) { return position_at_degrees(lat, lon); }

TEST(Ephemeris, SunIsTheOriginAndTheEarthKeepsItsOrbit)
{
    const double au = 92.9558068380657;
    double nearest = 10, farthest = 0;
    int nearest_day = 0, farthest_day = 0;
    for (int day = 0; day < 366; ++day) {
        TimeState t = moment_ut(2021, 1, 1 + day, day % 24);
        Vec3 sun = planet_position(sun_index, t.instant, place(day % 90, day));
        ASSERT_TRUE(sun.x == 0 && sun.y == 0 && sun.z == 0);
        double r = length(planet_position(moon_index, t.instant, Vec3{})) / au;
        ASSERT_GT(r, 0.983);
        ASSERT_LT(r, 1.017);
        if (r < nearest) nearest = r, nearest_day = day;
        if (r > farthest) farthest = r, farthest_day = day;
    }
    // Perihelion in the first days of January, aphelion early in July.
    EXPECT_LT(nearest, 0.9835);
    EXPECT_GT(farthest, 1.0165);
    EXPECT_LT(nearest_day, 6);
    EXPECT_NEAR(farthest_day, 185, 5);
}

TEST(Ephemeris, KeplerHoldsForMercuryOverEveryMeanAnomaly)
{
    const double e = 0.205635, two_pi = 6.283185307179586;
    for (int i = 0; i <= 200000; ++i) {
        double m = i < 200000 ? two_pi * i / 200000 : std::nextafter(two_pi, 0.0);
        long double ecc = solve_kepler(m, e);
        ASSERT_LE(std::fabs(ecc - e * std::sin(ecc) - m), 1e-15L) << "M = " << m;
    }
    // M is reduced into one turn first: exactly so without eccentricity.
    EXPECT_EQ(solve_kepler(1.25, 0), 1.25);
    EXPECT_NEAR(solve_kepler(-0.5, 0), two_pi - 0.5, 1e-15);
    for (double m : {0.1, 4.5})
        for (int turns : {-40, 3000})
            EXPECT_NEAR(std::sin(solve_kepler(m + turns * two_pi, e)), std::sin(solve_kepler(m, e)), 1e-9);
}

TEST(Ephemeris, MoonStaysAtLunarDistanceFromSurfaceViewers)
{
    double nearest = 1, farthest = 0;
    for (int day = 0; day < 36525; day += 7) {
        double r = length(moon_position(moment_ut(1950, 1, 1 + day, day % 24).instant, place(day % 170 - 85.0, day % 360)));
        nearest = std::fmin(nearest, r);
        farthest = std::fmax(farthest, r);
    }
    // The closest perigees less an Earth radius come just below 0.22.
    EXPECT_GT(nearest, 0.217);
    EXPECT_LT(nearest, 0.2265);
    EXPECT_GT(farthest, 0.2505);
    EXPECT_LT(farthest, 0.26);
}

}  // namespace
