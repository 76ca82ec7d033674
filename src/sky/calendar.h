#pragma once
#include <cstdint>

#include "platform/clock_types.h"

// Proleptic Gregorian day count: day 0 is 1 January of year 1.
// Month 13 counts as January of the following year.
int32_t days_from_date(int32_t year, int32_t month, int32_t day);
void date_from_days(int32_t days, int32_t& year, int32_t& month, int32_t& day);

// 0 = Sunday .. 6 = Saturday, for any day count (negative ones included).
int32_t day_of_week(int32_t days);

// 1 when daylight time is in effect by tz's own rule at local date and hour
// y-m-d h:00, read as the zone's standard time (UT = local + Bias). A zone without a daylight shift (DaylightBias 0) never has
// daylight time.
int is_daylight_time(int32_t year, int32_t month, int32_t day, int32_t hour, const TimeZoneInfo& tz);

// Upper-case names, each NUL-terminated in a slot of 10 bytes.
extern const char month_names[12][10];   // index month - 1
extern const char weekday_names[7][10];  // index day_of_week
