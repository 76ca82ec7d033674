#include "platform/time_zone.h"

#include <gtest/gtest.h>

#include <ctime>

#include "../sky/zone_scope.h"
#include "sky/calendar.h"

namespace {

const int64_t mid_january_2000 = 947894400;  // 2000-01-15 00:00 UT
const int64_t mid_july_2000 = 963619200;     // 2000-07-15 00:00 UT

}  // namespace

TEST(TimeZone, BiasesAndNamesFromTheMachineZone)
{
    {
        ZoneScope zone("America/New_York");
        // Starting in summer finds the same rules as starting in winter.
        for (int64_t at : {mid_january_2000, mid_july_2000}) {
            const TimeZoneInfo tz = machine_time_zone_at(at);
            EXPECT_EQ(tz.Bias, 300);
            EXPECT_EQ(tz.StandardBias, 0);
            EXPECT_EQ(tz.DaylightBias, -60);
            EXPECT_EQ(tz.StandardName, L"EST");
            EXPECT_EQ(tz.DaylightName, L"EDT");
        }
    }
    {
        ZoneScope zone("Australia/Sydney");
        const TimeZoneInfo tz = machine_time_zone_at(mid_july_2000);
        EXPECT_EQ(tz.Bias, -600);
        EXPECT_EQ(tz.DaylightBias, -60);
        EXPECT_EQ(tz.StandardName, L"AEST");
        EXPECT_EQ(tz.DaylightName, L"AEDT");
    }
    {
        ZoneScope zone("Asia/Kolkata");
        const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
        EXPECT_EQ(tz.Bias, -330);
        EXPECT_EQ(tz.DaylightBias, 0);
        EXPECT_EQ(tz.StandardName, L"IST");
        EXPECT_EQ(tz.DaylightName, L"IST");
    }
    {
        // A zone given as a rule rather than a file.
        ZoneScope zone("XST3:30XDT,M3.2.0,M11.1.0");
        const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
        EXPECT_EQ(tz.Bias, 210);
        EXPECT_EQ(tz.DaylightBias, -60);
        EXPECT_EQ(tz.StandardName, L"XST");
        EXPECT_EQ(tz.DaylightName, L"XDT");
    }
}

TEST(TimeZone, LocalTimeFollowsTheZone)
{
    ZoneScope zone("Asia/Tokyo");
    const int64_t before = time(nullptr);
    const CivilTime local = machine_local_time();
    const int64_t after = time(nullptr);
    const int64_t days = days_from_date(local.year, local.month, local.day) - days_from_date(1970, 1, 1);
    const int64_t ut = days * 86400 + (local.hour - 9) * 3600 + local.minute * 60 + local.second;
    EXPECT_GE(ut, before);
    EXPECT_LE(ut, after);
}

TEST(TimeZone, NamesWidenedFromUtf8)
{
    EXPECT_EQ(widen_zone_name("CEST"), L"CEST");
    EXPECT_EQ(widen_zone_name("-03"), L"-03");
    EXPECT_EQ(widen_zone_name(nullptr), L"");
    EXPECT_EQ(widen_zone_name("Z\xC3\xBCrich"), L"Z\u00FCrich");
    EXPECT_EQ(widen_zone_name("\xE6\x9D\xB1\xE4\xBA\xAC"), L"\u6771\u4EAC");
    EXPECT_EQ(widen_zone_name("\xF0\x9F\x8C\x8D"), std::wstring(1, wchar_t(0x1F30D)));
    // A stray continuation byte, a lead byte cut short by the end or by an
    // ASCII byte, and a byte no sequence starts with: one U+FFFD each.
    EXPECT_EQ(widen_zone_name("a\x80z"), L"a\uFFFDz");
    EXPECT_EQ(widen_zone_name("a\xE6\x9D"), L"a\uFFFD");
    EXPECT_EQ(widen_zone_name("\xC3Z"), L"\uFFFDZ");
    EXPECT_EQ(widen_zone_name("\xFF!"), L"\uFFFD!");
}
