#pragma once
#include "app/view.h"
#include "platform/clock_types.h"
#include "sky/clock.h"

// The unit vector of latitude phi and longitude lambda (radians, east
// positive, latitude negative in the north).
Vec3 position_at(double phi, double lambda);
// The same from degrees north and east.
Vec3 position_at_degrees(double lat, double lon);

// Home position: 41.6611 N, 71.4845 W (latitude negative in the north).
constexpr double home_lat = -0.7271233650026095;
constexpr double home_lon = -1.2476398891418865;

// Home position (the view's own, else the built-in one), south-facing level view, toggles reset, clock following the
// local time again.
void view_reset(View& view, TimeState& time, const CivilTime& local_clock);

// Aims the line of sight along (dx, dy, dz) with viewright horizontal; a
// direction along the axis changes nothing.
void view_look_at(Camera& view, double dx, double dy, double dz);

void view_centre(Camera& view);
void view_down(Camera& view);
void view_up(Camera& view);
void view_north(Camera& view);
void view_south(Camera& view);
void view_east(Camera& view);
void view_west(Camera& view);

// Roll a about the line of sight, pitch b about viewright, yaw c about viewdown.
void view_rotate(Camera& view, double a, double b, double c);
// Turns the eye and the camera together about the Earth's axis.
void view_spin(Camera& view, double angle);
void set_zoom(Camera& view, double z);
