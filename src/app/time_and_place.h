#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/vec3.h"
#include "sky/clock.h"

// A moment and an eye position as the user names them, for the viewer's
// fixed views and globetool alike.
struct TimeAndPlace {
    std::optional<int64_t> at;  // seconds since 1970 UT; none means now
    std::optional<Vec3> from;   // eye position in Earth radii; none means home, 5 miles up
};

// "YYYY-MM-DDTHH:MM[:SS]" followed by Z, by +HH:MM / -HH:MM, or by nothing
// for local time in the machine's zone; the date must exist.
bool parse_time(const std::string& text, int64_t& seconds);
// "LAT,LON[,ALT]": degrees north and east, miles above the surface.
bool parse_place(const std::string& text, Vec3& position);
// "LAT,LON": degrees north and east, as the unit vector of that place.
bool parse_home(const std::string& text, Vec3& direction);
// What is said of a home place that parse_home refuses.
std::string home_refusal(const std::string& text);

// The displayed moment set to the given instant in the machine's zone, in
// manual mode, as if the user had stepped the clock there.
void set_clock_to(TimeState& time, int64_t seconds);
// The instant named: at, or now.
int64_t chosen_instant(const TimeAndPlace& named);
// The eye position named: from, or home 5 miles up.
Vec3 chosen_position(const TimeAndPlace& named);
