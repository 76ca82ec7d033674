#pragma once
#include <cstdint>

#include "platform/clock_types.h"
#include "sky/instant.h"

// The one displayed moment: local civil fields, the timer that moves them
// and the zone, apart from the astronomical values derived from them.
struct TimeState {
    int32_t clock_year = 2000;
    int32_t clock_month = 1;
    int32_t clock_day = 1;
    int32_t clock_hour = 0;
    int32_t clock_minute = 0;
    int32_t clock_second = 0;
    int32_t clock_prev_second = 0;
    int32_t clock_ms_ref = 0;
    int32_t now_ms = 0;
    uint8_t time_manual = 0;
    TimeZoneInfo tzinfo;
    Instant instant;  // what the sky derives from the fields above
};

// With read_clock != 0 the civil fields are taken from local_clock and the
// clock follows it again; with 0 the stepped fields are normalised.
void update_time(TimeState& time, int read_clock, const CivilTime& local_clock);

// Whether the clock's local time falls in daylight saving time by its zone's rule.
bool clock_in_daylight(const TimeState& time);

// Minutes to add to the clock's local time for UT.
long clock_bias(const TimeState& time);

// Puts the clock at a local civil moment in manual mode, as stepping it there would.
void set_clock(TimeState& time, const CivilTime& local);
