#include "app/track.h"

#include "app/view_ops.h"
#include "platform/scan_codes.h"
#include "sky/ephemeris.h"
#include "sky/event_search.h"

int32_t selected_body(const uint8_t key_state[256])
{
    if (key_state[dik::key0]) return sun_index;
    for (int32_t code = dik::key1 + 8; code >= dik::key1; --code)
        if (key_state[code]) return code - dik::key1;
    return -1;
}

uint8_t body_key(int32_t body)
{
    return body == sun_index ? dik::key0 : static_cast<uint8_t>(dik::key1 + body);
}

void track_body(uint8_t* keys, TimeState& time, Camera& camera, Platform& platform)
{
    const int32_t body = selected_body(keys);
    if (body < 0) return;
    if (keys[dik::backslash]) {
        // The keyboard is polled on every pass: backslash or Escape stops the
        // search where it is.
        keys[dik::backslash] = 0;
        const auto stop = [&] {
            platform.poll_keyboard(keys);
            return keys[dik::backslash] || keys[dik::escape];
        };
        search_event(body, keys[dik::lshift] || keys[dik::rshift], time, camera.viewpos, stop);
        keys[dik::backslash] = 0;
    }
    const Vec3 b = body_direction(body, time.instant, camera.viewpos);
    view_look_at(camera, b.x, b.y, b.z);
}
