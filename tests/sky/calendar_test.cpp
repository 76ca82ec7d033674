#include "sky/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

namespace {

namespace chr = std::chrono;

// The same count from the standard library's proleptic Gregorian calendar.
int64_t chrono_days(int y, unsigned m, unsigned d)
{
    const chr::sys_days day{chr::year{y} / chr::month{m} / chr::day{d}};
    return day.time_since_epoch().count() + 719162;
}

void expect_round_trip_years(int first, int last)
{
    const int32_t begin = days_from_date(first, 1, 1);
    const int32_t end = days_from_date(last + 1, 1, 1);
    ASSERT_EQ(begin, chrono_days(first, 1, 1));
    ASSERT_EQ(end, chrono_days(last + 1, 1, 1));
    for (int32_t n = begin; n < end; ++n) {
        int32_t y = 0, m = 0, d = 0;
        date_from_days(n, y, m, d);
        const chr::year_month_day want{chr::sys_days{chr::days{int64_t{n} - 719162}}};
        ASSERT_EQ(y, int(want.year())) << n;
        ASSERT_EQ(m, int32_t(unsigned(want.month()))) << n;
        ASSERT_EQ(d, int32_t(unsigned(want.day()))) << n;
        ASSERT_EQ(days_from_date(y, m, d), n);
        ASSERT_EQ(day_of_week(n), int32_t(chr::weekday{chr::sys_days{chr::days{int64_t{n} - 719162}}}.c_encoding()));
    }
}

}  // namespace

TEST(Calendar, DayCountAnchors)
{
    EXPECT_EQ(days_from_date(1, 1, 1), 0);
    EXPECT_EQ(days_from_date(1999, 12, 31), 730118);
    EXPECT_EQ(days_from_date(2000, 1, 1), 730119);
    EXPECT_EQ(day_of_week(days_from_date(2000, 1, 1)), 6);
    EXPECT_EQ(day_of_week(days_from_date(1999, 12, 6)), 1);
    EXPECT_EQ(day_of_week(0), 1);  // 1 January of year 1 was a Monday
}

TEST(Calendar, DayCountCarriesOutOfRangeFields)
{
    // Month 13 is January of the next year; day 0 the last of the month before.
    EXPECT_EQ(days_from_date(1999, 13, 1), days_from_date(2000, 1, 1));
    EXPECT_EQ(days_from_date(1999, 13, 5), days_from_date(2000, 1, 5));
    EXPECT_EQ(days_from_date(2000, 3, 0), days_from_date(2000, 2, 29));
    EXPECT_EQ(days_from_date(1900, 3, 0), days_from_date(1900, 2, 28));
    EXPECT_EQ(days_from_date(2000, 1, 32), days_from_date(2000, 2, 1));
    EXPECT_EQ(days_from_date(2000, 1, -30), days_from_date(1999, 12, 1));
    // Months beyond 13 and below 1 stay within the month table.
    EXPECT_EQ(days_from_date(1999, 14, 1), days_from_date(1999, 13, 1));
    EXPECT_EQ(days_from_date(2000, 0, 1), days_from_date(2000, 1, 1));
    EXPECT_EQ(days_from_date(2000, -7, 1), days_from_date(2000, 1, 1));
}

TEST(Calendar, RoundTripEveryDayOfYears1To9999)
{
    expect_round_trip_years(1, 9999);
}

TEST(Calendar, LeapDaysOfCenturies)
{
    int32_t y = 0, m = 0, d = 0;
    date_from_days(days_from_date(2000, 2, 28) + 1, y, m, d);
    EXPECT_EQ((y * 100 + m) * 100 + d, 20000229);
    date_from_days(days_from_date(1900, 2, 28) + 1, y, m, d);
    EXPECT_EQ((y * 100 + m) * 100 + d, 19000301);
    date_from_days(days_from_date(2100, 2, 28) + 1, y, m, d);
    EXPECT_EQ((y * 100 + m) * 100 + d, 21000301);
    date_from_days(days_from_date(2000, 12, 31), y, m, d);
    EXPECT_EQ((y * 100 + m) * 100 + d, 20001231);
    EXPECT_EQ(days_from_date(2001, 1, 1) - days_from_date(2000, 1, 1), 366);
    EXPECT_EQ(days_from_date(1901, 1, 1) - days_from_date(1900, 1, 1), 365);
}

TEST(Calendar, YearsBeforeOneKeepTheCycle)
{
    // Year 0 is a leap year of the proleptic calendar, and weekdays of
    // negative day counts stay within 0..6.
    expect_round_trip_years(-801, 0);
    EXPECT_EQ(days_from_date(1, 1, 1) - days_from_date(0, 1, 1), 366);
}

TEST(Calendar, ExtremeDayCountsEndAndRoundTrip)
{
    for (int32_t n : {INT32_MAX, INT32_MAX - 400, INT32_MIN, INT32_MIN + 400, -1}) {
        int32_t y = 0, m = 0, d = 0;
        date_from_days(n, y, m, d);
        EXPECT_GE(m, 1);
        EXPECT_LE(m, 12);
        EXPECT_GE(d, 1);
        EXPECT_LE(d, 31);
        EXPECT_EQ(days_from_date(y, m, d), n);
        const int32_t w = day_of_week(n);
        EXPECT_GE(w, 0);
        EXPECT_LE(w, 6);
    }
    EXPECT_EQ(day_of_week(INT32_MAX), (int64_t{INT32_MAX} + 1) % 7);
}
