#include "sky/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <tuple>

#include "platform/time_zone.h"
#include "zone_scope.h"

namespace chr = std::chrono;

// Every day of years -801 to 9999 against the standard library's proleptic
// Gregorian calendar (day 0 of ours is its day -719162).
TEST(Calendar, EveryDayAgreesWithTheStandardCalendar)
{
    const int32_t begin = days_from_date(-801, 1, 1), end = days_from_date(10000, 1, 1);
    for (int32_t n = begin; n < end; ++n) {
        const chr::sys_days day{chr::days{int64_t{n} - 719162}};
        const chr::year_month_day want{day};
        int32_t y = 0, m = 0, d = 0;
        date_from_days(n, y, m, d);
        ASSERT_EQ((int64_t{y} * 100 + m) * 100 + d,
                  (int64_t{int(want.year())} * 100 + unsigned(want.month())) * 100 + unsigned(want.day()));
        ASSERT_EQ(days_from_date(y, m, d), n);
        ASSERT_EQ(day_of_week(n), int32_t(chr::weekday{day}.c_encoding())) << n;
    }
}

TEST(Calendar, OutOfRangeFieldsAndExtremeCounts)
{
    // Month 13 is January of the next year, day 0 the last of the month
    // before; months beyond 13 and below 1 stay within the month table.
    const int32_t cases[][6] = {{1999, 13, 5, 2000, 1, 5}, {2000, 3, 0, 2000, 2, 29}, {1900, 3, 0, 1900, 2, 28},
                                {2000, 1, -30, 1999, 12, 1}, {1999, 14, 1, 2000, 1, 1}, {2000, 0, 1, 2000, 1, 1}};
    for (const auto& c : cases) EXPECT_EQ(days_from_date(c[0], c[1], c[2]), days_from_date(c[3], c[4], c[5])) << c[1];
    for (int32_t n : {INT32_MAX, INT32_MIN, INT32_MIN + 400, -1}) {
        int32_t y = 0, m = 0, d = 0;
        date_from_days(n, y, m, d);
        EXPECT_TRUE(m >= 1 && m <= 12 && d >= 1 && d <= 31) << n;
        EXPECT_EQ(days_from_date(y, m, d), n);
        EXPECT_EQ(day_of_week(n), ((int64_t{n} + 1) % 7 + 7) % 7) << n;
    }
}

// Daylight time as the machine's zone files give it, the hour read as
// standard time: the 2000 and 2024 rules of New York (on at 02:00, off at
// 01:00 standard time), Sydney's southern summer, Lord Howe's half hour,
// Dublin's winter flag and zones without any.
TEST(Calendar, DaylightTimeFollowsTheZoneFiles)
{
    const char* const york = "America/New_York";
    for (auto [zone, y, m, d, h, ut_minus_local] :
         {std::tuple{york, 2000, 4, 2, 1, 300L}, {york, 2000, 4, 2, 2, 240}, {york, 2000, 10, 29, 0, 240},
          {york, 2000, 10, 29, 1, 300}, {york, 2024, 3, 10, 1, 300}, {york, 2024, 3, 10, 2, 240},
          {york, 2024, 11, 3, 0, 240}, {york, 2024, 11, 3, 1, 300}, {"Australia/Sydney", 2000, 1, 15, 12, -660},
          {"Australia/Sydney", 2000, 7, 15, 12, -600}, {"Australia/Lord_Howe", 2000, 7, 15, 12, -630},
          {"Europe/Dublin", 2000, 1, 15, 12, 0}, {"Europe/Dublin", 2000, 7, 15, 12, -60},
          {"Asia/Tokyo", 1950, 7, 1, 12, -540}}) {
        ZoneScope scope(zone);
        const TimeZoneInfo tz = machine_time_zone_at(947894400);  // 2000-01-15
        const long bias = tz.Bias + (is_daylight_time(y, m, d, h, tz) ? tz.DaylightBias : tz.StandardBias);
        EXPECT_EQ(bias, ut_minus_local) << zone << ' ' << y << '-' << m << '-' << d << ' ' << h;
    }
}
