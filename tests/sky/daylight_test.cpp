#include <gtest/gtest.h>

#include "platform/time_zone.h"
#include "sky/calendar.h"
#include "zone_scope.h"

namespace {

const int64_t mid_january_2000 = 947894400;  // 2000-01-15 00:00 UT

// UT = local + this many minutes at local y-m-d h:00.
long total_bias(const TimeZoneInfo& tz, int32_t y, int32_t m, int32_t d, int32_t h)
{
    return tz.Bias + (is_daylight_time(y, m, d, h, tz) ? tz.DaylightBias : tz.StandardBias);
}

}  // namespace

TEST(Daylight, EasternTransitionsOf1999And2000)
{
    ZoneScope zone("America/New_York");
    const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
    ASSERT_EQ(tz.Bias, 300);
    ASSERT_EQ(tz.DaylightBias, -60);

    struct Case {
        int32_t y, m, d, h;
        int want;
    };
    const Case cases[] = {
        {1999, 4, 3, 23, 0}, {1999, 4, 4, 1, 0},   {1999, 4, 4, 2, 1},   {1999, 4, 4, 3, 1},   {1999, 4, 5, 0, 1},
        {1999, 10, 30, 23, 1}, {1999, 10, 31, 0, 1}, {1999, 10, 31, 1, 0}, {1999, 11, 1, 0, 0},
        {2000, 4, 1, 23, 0}, {2000, 4, 2, 1, 0},   {2000, 4, 2, 2, 1},   {2000, 10, 28, 23, 1},
        {2000, 10, 29, 0, 1}, {2000, 10, 29, 1, 0}, {2000, 1, 15, 12, 0}, {2000, 7, 4, 12, 1},
        // The zone's later rules, not a fixed April rule: second Sunday of March since 2007.
        {2024, 3, 10, 1, 0}, {2024, 3, 10, 2, 1}, {2024, 4, 1, 0, 1}, {2024, 11, 3, 0, 1}, {2024, 11, 3, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(is_daylight_time(c.y, c.m, c.d, c.h, tz), c.want) << c.y << '-' << c.m << '-' << c.d << ' ' << c.h;

    // Both sides of the spring gap name the same instant, 07:00 UT.
    EXPECT_EQ(total_bias(tz, 2000, 4, 2, 1) + 60, total_bias(tz, 2000, 4, 2, 2) + 120);
}

TEST(Daylight, SouthernSummerIsDaylightTime)
{
    ZoneScope zone("Australia/Sydney");
    const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
    ASSERT_EQ(tz.Bias, -600);
    ASSERT_EQ(tz.DaylightBias, -60);
    EXPECT_EQ(is_daylight_time(2000, 1, 15, 12, tz), 1);
    EXPECT_EQ(is_daylight_time(2000, 7, 15, 12, tz), 0);
    EXPECT_EQ(total_bias(tz, 2000, 1, 15, 12), -660);
    EXPECT_EQ(total_bias(tz, 2000, 7, 15, 12), -600);
}

TEST(Daylight, ZonesWithoutDaylightTimeNeverHaveIt)
{
    for (const char* name : {"Asia/Tokyo", "UTC"}) {
        ZoneScope zone(name);
        const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
        EXPECT_EQ(tz.DaylightBias, 0) << name;
        for (int32_t m = 1; m <= 12; ++m)
            for (int32_t h = 0; h < 24; h += 5) EXPECT_EQ(is_daylight_time(2000, m, 15, h, tz), 0) << name;
        // Tokyo kept summer time around 1950; the zone as read today has none,
        // so its biases could not express it.
        EXPECT_EQ(is_daylight_time(1950, 7, 1, 12, tz), 0) << name;
    }
}

TEST(Daylight, ShiftsOtherThanOneHourAndWinterDaylightTime)
{
    {
        // Lord Howe Island moves its clocks by half an hour.
        ZoneScope zone("Australia/Lord_Howe");
        const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
        EXPECT_EQ(tz.Bias, -630);
        EXPECT_EQ(tz.DaylightBias, -30);
        EXPECT_EQ(total_bias(tz, 2000, 1, 15, 12), -660);
        EXPECT_EQ(total_bias(tz, 2000, 7, 15, 12), -630);
    }
    {
        // Irish time may be described with the daylight flag in winter;
        // whichever way, winter is UT and summer UT+1.
        ZoneScope zone("Europe/Dublin");
        const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
        EXPECT_EQ(total_bias(tz, 2000, 1, 15, 12), 0);
        EXPECT_EQ(total_bias(tz, 2000, 7, 15, 12), -60);
    }
}
