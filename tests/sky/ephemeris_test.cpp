#include <gtest/gtest.h>

#include <cmath>

#include "sky/ephemeris.h"

// Positions are compared with PyEphem in test_ephemeris.py; Kepler's equation
// is solved to the last bits over the whole turn and for any number of turns.
TEST(Ephemeris, KeplerHoldsForMercuryOverEveryMeanAnomaly)
{
    const double e = 0.205635, two_pi = 6.283185307179586;
    for (int i = 0; i <= 200000; ++i) {
        double m = i < 200000 ? two_pi * i / 200000 : std::nextafter(two_pi, 0.0);
        long double ecc = solve_kepler(m, e);
        ASSERT_LE(std::fabs(ecc - e * std::sin(ecc) - m), 1e-15L) << "M = " << m;
    }
    EXPECT_EQ(solve_kepler(1.25, 0), 1.25);
    EXPECT_NEAR(solve_kepler(-0.5, 0), two_pi - 0.5, 1e-15);
    for (double m : {0.1, 4.5})
        for (int turns : {-40, 3000})
            EXPECT_NEAR(std::sin(solve_kepler(m + turns * two_pi, e)), std::sin(solve_kepler(m, e)), 1e-9);
}
