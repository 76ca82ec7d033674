#pragma once
#include <cstdint>
#include <string>

#include "core/camera.h"
#include "sky/clock.h"

// Whether look names a preset view: centre, down, up, north, south, east or west.
bool is_view_preset(const std::string& look);
// Turns the camera as the preset look says; false (and nothing turned) when
// look names none.
bool apply_view_preset(Camera& camera, const std::string& look);

// Puts the eye at from, still, looking as the preset look says at the given
// magnification (1 = the normal view), with the clock stopped at the instant
// (seconds since 1970 UT) in the machine's zone. For after the first frame,
// which fixes the geometry and the home view.
void fix_view(Camera& camera, TimeState& time, const Vec3& from, const std::string& look, double zoom, int64_t instant);
