#pragma once
#include <cstdint>
#include <string>

#include "platform/clock_types.h"

// What the local clock says at one instant: whether daylight time is in
// effect, the offset in seconds east of UT and the zone's name then.
struct ZoneSample {
    bool daylight = false;
    long offset = 0;
    std::wstring name;
};
// Fills the sample for an instant (seconds since 1970 UT); false when the
// clock cannot tell.
using ZoneSampler = bool (*)(int64_t instant, ZoneSample& sample);

// The C library's local time (TZ honoured) as a sample.
bool c_library_zone_sample(int64_t instant, ZoneSample& sample);

// A zone described by its samples over the year that follows the instant;
// its daylight rule asks the sampler.
TimeZoneInfo time_zone_from_samples(int64_t instant, ZoneSampler sampler);

// The headless platform's zone: standard time `bias` minutes west of UT and,
// when daylight_bias is not 0, a fixed daylight rule: from the first Sunday of
// April, 02:00 standard time, to the last Sunday of October, 01:00 standard
// time (the US rule of 1987 to 2006).
TimeZoneInfo fixed_rule_zone(long bias, long daylight_bias, std::wstring standard_name, std::wstring daylight_name);

// The machine's zone as the C library knows it (TZ honoured), described by
// its rules in the year that follows the given instant (seconds since 1970
// UT): Bias is the standard time's offset in minutes west of UT,
// DaylightBias minus the daylight shift (0 in a zone without daylight time).
TimeZoneInfo machine_time_zone_at(int64_t instant);
// The same for the present moment.
TimeZoneInfo machine_time_zone();

// A zone name from the C library as a wide string. Names are ASCII in
// practice; anything else is decoded as UTF-8, with U+FFFD for bytes that do
// not form a character.
std::wstring widen_zone_name(const char* text);

// The machine's local civil time, whole seconds.
CivilTime machine_local_time();
