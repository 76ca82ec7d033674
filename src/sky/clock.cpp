#include "sky/clock.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sky/calendar.h"
#include "sky/orbit.h"

namespace {

// Millisecond timer values wrap around; their differences are taken modulo 2^32.
int32_t ms_between(int32_t from, int32_t to)
{
    return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}

int32_t ms_advance(int32_t from, int32_t ms)
{
    return static_cast<int32_t>(static_cast<uint32_t>(from) + static_cast<uint32_t>(ms));
}

void store_fields(TimeState& t, const CivilTime& local)
{
    t.clock_year = local.year;
    t.clock_month = local.month;
    t.clock_day = local.day;
    t.clock_hour = local.hour;
    t.clock_minute = local.minute;
    t.clock_second = local.second;
}

// Follows the local clock. clock_ms_ref moves on by one second per second the
// clock's seconds field moved (59 -> 0 is one), and is then kept within the
// current second: the clock cannot be before its second began, nor a whole
// second past it. That also settles the start-up phase after the first tick.
void read_local_clock(TimeState& t, const CivilTime& local)
{
    t.clock_prev_second = t.clock_second;
    store_fields(t, local);

    int64_t moved = ((int64_t{t.clock_second} - t.clock_prev_second) % 60 + 60) % 60;
    t.clock_ms_ref = ms_advance(t.clock_ms_ref, static_cast<int32_t>(moved * 1000));
    const int32_t into_second = std::clamp(ms_between(t.clock_ms_ref, t.now_ms), 0, 999);
    t.clock_ms_ref = ms_advance(t.now_ms, -into_second);
}

// One carry per field, seconds first, then the date through the day count.
void normalise_clock(TimeState& t)
{
    if (t.clock_second < 0) {
        t.clock_second += 60;
        t.clock_minute -= 1;
    } else if (t.clock_second >= 60) {
        t.clock_second -= 60;
        t.clock_minute += 1;
    }
    if (t.clock_minute < 0) {
        t.clock_minute += 60;
        t.clock_hour -= 1;
    } else if (t.clock_minute >= 60) {
        t.clock_minute -= 60;
        t.clock_hour += 1;
    }
    if (t.clock_hour < 0) {
        t.clock_hour += 24;
        t.clock_day -= 1;
    } else if (t.clock_hour > 23) {
        t.clock_hour -= 24;
        t.clock_day += 1;
    }
    date_from_days(days_from_date(t.clock_year, t.clock_month, t.clock_day), t.clock_year,
                   t.clock_month, t.clock_day);
}

}  // namespace

bool clock_in_daylight(const TimeState& t)
{
    return is_daylight_time(t.clock_year, t.clock_month, t.clock_day, t.clock_hour, t.tzinfo) != 0;
}

long clock_bias(const TimeState& t)
{
    return t.tzinfo.Bias + (clock_in_daylight(t) ? t.tzinfo.DaylightBias : 0);
}

void update_time(TimeState& t, int read_clock, const CivilTime& local_clock)
{
    if (read_clock != 0) {
        read_local_clock(t, local_clock);
    } else {
        normalise_clock(t);
    }

    const long bias = clock_bias(t);

    double f = (((t.clock_second / 60.0) + t.clock_minute + static_cast<double>(bias)) / 60.0 +
                t.clock_hour) /
               24.0;
    if (read_clock != 0) f += ms_between(t.clock_ms_ref, t.now_ms) * 1.1574074074074074e-08;

    double d = f + (static_cast<double>(days_from_date(t.clock_year, t.clock_month, t.clock_day)) -
                    static_cast<double>(days_from_date(1999, 12, 31)));
    t.instant.day_number = d;

    // The Sun's mean longitude plus half a turn is the sidereal angle at 0h
    // UT; its degree is pi times 1/180, rounded apart from the theory's.
    const double degree = std::numbers::pi * 0.005555555555555555;
    t.instant.sidereal_angle = std::numbers::pi + 2 * std::numbers::pi * f + orbit::sun_perihelion.at(d) * degree +
                               orbit::sun_mean_anomaly.at(d) * degree;

    double obliquity = (23.4393 - 3.563e-07 * d) * radians_per_degree;
    t.instant.cos_ecl = std::cos(obliquity);
    t.instant.sin_ecl = std::sin(obliquity);

    if (read_clock != 0) t.time_manual = 0;
}

void set_clock(TimeState& time, const CivilTime& local)
{
    store_fields(time, local);
    time.time_manual = 1;
    update_time(time, 0, CivilTime{});
}
