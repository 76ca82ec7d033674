#pragma once
#include <cstdint>

#include "core/camera.h"
#include "platform/platform.h"
#include "sky/clock.h"
#include "sky/event_search.h"

// The body a held digit key selects: 0 wins (the Sun), then 9 down to 1; -1
// when no digit key is down.
int32_t selected_body(const uint8_t key_state[256]);
// The digit key that selects the body.
uint8_t body_key(int32_t body);

// While a digit key is held: the search on backslash (polling the keyboard
// on every pass, so that backslash or Escape stops it where it is), then the
// view turned towards the body.
void track_body(uint8_t* keys, TimeState& time, Camera& camera, Platform& platform);
