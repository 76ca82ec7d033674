#pragma once

// The moment as the ephemeris needs it, derived from the clock: days since
// 1999 December 31 0h UT, the cosine and sine of the ecliptic's obliquity
// and the Earth's turn (radians) from the space frame.
struct Instant {
    double day_number = 0;
    double cos_ecl = 1;
    double sin_ecl = 0;
    double sidereal_angle = 0;
};
