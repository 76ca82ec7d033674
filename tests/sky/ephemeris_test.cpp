#include <gtest/gtest.h>

#include <cmath>

#include "sky/ephemeris.h"

// test_sky.py compares positions with PyEphem, blind to an error of a few
// bits: Kepler's equation is solved to the last bits over the whole turn.
TEST(Ephemeris, KeplerHoldsForMercuryOverEveryMeanAnomaly)
{
    const double e = 0.205635, two_pi = 6.283185307179586;
    for (int i = 0; i <= 200000; ++i) {
        const double m = i < 200000 ? two_pi * i / 200000 : std::nextafter(two_pi, 0.0);
        const long double ecc = solve_kepler(m, e);
        ASSERT_LE(std::fabs(ecc - e * std::sin(ecc) - m), 1e-15L) << "M = " << m;
    }
}
