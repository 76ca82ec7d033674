#pragma once
#include <cstdint>

#include "app/app.h"
#include "platform/platform.h"

// The body a held digit key selects: 0 wins (the Sun), then 9 down to 1; -1
// when no digit key is down.
int32_t selected_body(const uint8_t key_state[256]);
// The digit key that selects the body.
uint8_t body_key(int32_t body);

// Direction from the viewer to the body in the Earth-fixed frame.
Vec3 body_direction(int32_t body, const TimeState& time, const Vec3& viewpos);

enum class EventKind { rise, transit, set, lower_transit, equinox, none };

// Steps the clock to the last whole second before the body's nearest rising,
// meridian passage or setting at viewpos (or, with equinox and the Sun, the
// nearest equinox). The keyboard is polled on every pass: backslash or Escape
// stops the search where it is. A search that finds no crossing gives up and
// puts the clock back; its kind is then none. Leaves the clock in manual mode.
EventKind search_event(int32_t body, bool equinox, TimeState& time, const Vec3& viewpos, uint8_t key_state[256],
                       Platform& platform);

// While a digit key is held: the search on backslash, then the view turned
// towards the body.
void track_body(App& app, Platform& platform);
