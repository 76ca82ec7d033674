#pragma once
#include <cstdint>
#include <optional>
#include <string>

// A clock step such as "90s", "10m", "1h", "1d" or "1sd" (a sidereal day, as
// the viewer steps it: 23 h 56 min 4 s); negative steps go backwards. At most
// 1e10 seconds either way.
bool parse_step(const std::string& text, int64_t& seconds);

// Frame n's name from a printf-style pattern holding exactly one %d (with an
// optional 0 flag and width; %% stands for %); none for any other pattern.
std::optional<std::string> frame_name(const std::string& pattern, int n);

// Redraws a progress line on stderr: frames done of total, frames per second
// and the time left, after seconds of work.
void show_progress(int done, int total, double seconds);
