#pragma once
#include <numbers>

// The Earth's size in miles: the unit of the Earth-fixed frame is its radius.
constexpr double earth_diameter_miles = 7928;
constexpr double earth_radius_miles = earth_diameter_miles * 0.5;
// The eye never comes nearer to the centre than 5 miles above the surface.
constexpr double lowest_eye_dist = (earth_radius_miles + 5) / earth_radius_miles;

// Degrees to radians and back, each rounded once.
constexpr double radians_per_degree = std::numbers::pi / 180;
constexpr double degrees_per_radian = 180 / std::numbers::pi;

// The viewer's window title and the first entry of its argument vector.
constexpr char program_title[] = "Tessaly's program";
