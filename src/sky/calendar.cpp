#include "sky/calendar.h"

#include <cmath>

const char month_names[12][10] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                                  "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};

const char weekday_names[7][10] = {"SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY"};

namespace {

bool is_leap(int64_t year)
{
    return year % 4 == 0 && !(year % 100 == 0 && year % 400 != 0);
}

int32_t month_length(int64_t year, int32_t month)
{
    static const int32_t lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && is_leap(year)) return 29;
    return lengths[month - 1];
}

// Division rounding towards minus infinity, so that years before 1 keep the
// same four-hundred-year cycle as the years after.
int64_t floor_div(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Wide enough that no year an int32 can hold overflows.
int64_t days_from_date64(int64_t year, int32_t month, int64_t day)
{
    int64_t c = year - 1;
    int64_t n = 365 * c + floor_div(c, 4) - floor_div(c, 100) + floor_div(c, 400);
    int32_t last = month > 13 ? 13 : month;
    for (int32_t m = 1; m < last; ++m) n += month_length(year, m);
    return n + day - 1;
}

}  // namespace

int32_t days_from_date(int32_t year, int32_t month, int32_t day)
{
    return static_cast<int32_t>(days_from_date64(year, month, day));
}

void date_from_days(int32_t days, int32_t& year, int32_t& month, int32_t& day)
{
    // The estimate is within a year of the answer; the walk settles it.
    int64_t y = static_cast<int64_t>(std::trunc(days * 0.0027378031148499377 + 1));
    int64_t start = days_from_date64(y, 1, 1);
    for (;;) {
        if (days < start) {
            --y;
        } else if (days >= start + (is_leap(y) ? 366 : 365)) {
            ++y;
        } else {
            break;
        }
        start = days_from_date64(y, 1, 1);
    }
    int32_t r = static_cast<int32_t>(days - start);
    // r lies within the year, so the walk stops by December.
    int32_t m = 1;
    while (r >= month_length(y, m)) {
        r -= month_length(y, m);
        ++m;
    }
    year = static_cast<int32_t>(y);
    month = m;
    day = r + 1;
}

int32_t day_of_week(int32_t days)
{
    // Day 0 was a Monday.
    int64_t w = (static_cast<int64_t>(days) + 1) % 7;
    return static_cast<int32_t>(w < 0 ? w + 7 : w);
}

int is_daylight_time(int32_t year, int32_t month, int32_t day, int32_t hour, const TimeZoneInfo& tz)
{
    if (tz.DaylightBias == 0 || !tz.daylight_at) return 0;
    // The hour as standard time, turned into seconds since 1970 UT.
    const int64_t epoch = 719162;  // days_from_date(1970, 1, 1)
    int64_t days = days_from_date64(year, month, day) - epoch;
    int64_t minutes = int64_t{hour} * 60 + tz.Bias;
    return tz.daylight_at(days * 86400 + minutes * 60) ? 1 : 0;
}
