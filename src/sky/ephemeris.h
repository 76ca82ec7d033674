#pragma once
#include <cstdint>

#include "core/vec3.h"
#include "sky/instant.h"

// The ten bodies of the sky, by index: Mercury, Venus, the Moon (the Earth,
// that is the viewer, for planet_position), Mars, Jupiter, Saturn, Uranus,
// Neptune, Pluto, the Sun.
inline constexpr int32_t num_bodies = 10;
inline constexpr int32_t moon_index = 2;
inline constexpr int32_t sun_index = 9;

inline constexpr char body_names[num_bodies][8] = {
    "MERCURY", "VENUS", "MOON", "MARS", "JUPITER",
    "SATURN", "URANUS", "NEPTUNE", "PLUTO", "SUN"};
// Miles; slot 2 holds the Moon's.
inline constexpr double body_diameter[num_bodies] = {
    3032, 7522, 2160, 4218, 88750, 74990, 31770, 30782, 1430, 864898};
// Lit colour; the unlit side of a disc is eight entries lower.
inline constexpr uint8_t body_colour[num_bodies] = {
    111, 127, 143, 159, 175, 191, 207, 223, 239, 254};

// Eccentric anomaly for mean anomaly m and eccentricity e (radians).
double solve_kepler(double m, double e);

// Positions in the space frame (x to right ascension 6h, y to the south
// celestial pole, z to 12h), million miles, for the moment held by time
// (day_number, cos_ecl, sin_ecl, sidereal_angle) and the viewer at viewpos
// (Earth-fixed, Earth radii).
//
// The Moon's centre relative to the viewer.
Vec3 moon_position(const Instant& time, const Vec3& viewpos);
// Heliocentric position of body index; index 2 is the viewer's
// (viewer_position) and 9 the Sun's, always the origin.
Vec3 planet_position(int32_t index, const Instant& time, const Vec3& viewpos);
// The viewer's heliocentric position.
Vec3 viewer_position(const Instant& time, const Vec3& viewpos);

// From the viewer to the body: the Moon's moon_position, any other body's
// planet_position less viewer_position.
Vec3 seen_from_viewer(int32_t body, const Instant& time, const Vec3& viewpos);
// The same in the Earth-fixed frame.
Vec3 body_direction(int32_t body, const Instant& time, const Vec3& viewpos);
