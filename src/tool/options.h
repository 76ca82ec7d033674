#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/vec3.h"
#include "sky/clock.h"

// The options every globetool subcommand shares.
struct ToolOptions {
    std::optional<int64_t> at;  // seconds since 1970 UT; none means now
    std::optional<Vec3> from;   // eye position in Earth radii; none means home, 5 miles up
    std::string data_dir;       // empty means the default data folder
};

// Takes argv[i] (and its value) when it is --at, --from or --data. Returns 1
// when taken (i moved to the value), 0 when not a shared option, -1 on a bad
// value (error says why).
int take_shared_option(int argc, char** argv, int& i, ToolOptions& options, std::string& error);

// "YYYY-MM-DDTHH:MM[:SS]" followed by Z, by +HH:MM / -HH:MM, or by nothing
// for local time in the machine's zone.
bool parse_time(const std::string& text, int64_t& seconds);
// "LAT,LON[,ALT]": degrees north and east, miles above the surface.
bool parse_place(const std::string& text, Vec3& position);

// The displayed moment set to the given instant in the machine's zone, in
// manual mode, as if the user had stepped the clock there.
void set_clock_to(TimeState& time, int64_t seconds);
// The instant the options name: --at, or now.
int64_t chosen_instant(const ToolOptions& options);
// The eye position the options name: --from, or home 5 miles up.
Vec3 chosen_position(const ToolOptions& options);

// A body by its name in any case (mercury ... pluto, moon, sun); -1 if unknown.
int32_t parse_body(const std::string& name);

// The data folder the options name, or the one next to the program.
std::string chosen_data_dir(const ToolOptions& options);
