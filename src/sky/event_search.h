#pragma once
#include <cstdint>
#include <functional>

#include "core/vec3.h"
#include "sky/clock.h"

enum class EventKind { rise, transit, set, lower_transit, equinox, none };

// Steps the clock to the last whole second before the body's nearest rising,
// meridian passage or setting at viewpos (or, with equinox and the Sun, the
// nearest equinox). stop is asked after every step; when it says yes the
// search ends where it is. A search that finds no crossing gives up and puts
// the clock back; its kind is then none. Leaves the clock in manual mode.
EventKind search_event(int32_t body, bool equinox, TimeState& time, const Vec3& viewpos,
                       const std::function<bool()>& stop);
