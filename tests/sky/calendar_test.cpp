#include "sky/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <tuple>

#include "platform/time_zone.h"

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

// The zone's own rule asked at the hour read as standard time: the fixed rule
// of the headless zone switches on at 02:00 on the first Sunday of April and
// off at 01:00 on the last Sunday of October (1999: the 4th and the 31st;
// 2000: the 2nd and the 29th); a zone without a shift never asks its rule.
TEST(Calendar, DaylightTimeByTheZonesOwnRule)
{
    const TimeZoneInfo eastern = fixed_rule_zone(300, -60, L"EST", L"EDT");
    for (auto [y, m, d, h, daylight] :
         {std::tuple{1999, 4, 3, 23, 0}, {1999, 4, 4, 1, 0}, {1999, 4, 4, 2, 1}, {1999, 10, 31, 0, 1},
          {1999, 10, 31, 1, 0}, {1999, 10, 30, 23, 1}, {2000, 4, 2, 1, 0}, {2000, 4, 2, 2, 1}, {2000, 4, 1, 23, 0},
          {2000, 10, 29, 0, 1}, {2000, 10, 29, 1, 0}, {2000, 10, 30, 0, 0}, {2000, 3, 31, 23, 0}, {2000, 5, 1, 0, 1},
          {2000, 9, 30, 23, 1}, {2000, 11, 1, 0, 0}, {2000, 1, 15, 12, 0}, {2000, 7, 15, 12, 1}, {2000, 4, 30, 0, 1},
          {2000, 10, 1, 0, 1}, {2000, 4, 1, 12, 0}, {-4713, 7, 1, 0, 1}}) {
        EXPECT_EQ(is_daylight_time(y, m, d, h, eastern), daylight) << y << '-' << m << '-' << d << ' ' << h;
    }

    TimeZoneInfo asked = fixed_rule_zone(-330, -60, L"A", L"B");
    std::vector<int64_t> instants;
    asked.daylight_at = [&](int64_t at) { return instants.push_back(at), true; };
    EXPECT_EQ(is_daylight_time(2000, 1, 1, 6, asked), 1);
    EXPECT_EQ(instants, std::vector<int64_t>{946684800 + (6 * 60 - 330) * 60});
    asked.DaylightBias = 0;
    EXPECT_EQ(is_daylight_time(2000, 1, 1, 6, asked), 0);
    EXPECT_EQ(instants.size(), 1u);
    EXPECT_EQ(is_daylight_time(2000, 7, 1, 12, fixed_rule_zone(0, 0, L"UTC", L"UTC")), 0);
}
