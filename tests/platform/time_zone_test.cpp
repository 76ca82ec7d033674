#include "platform/time_zone.h"

#include <gtest/gtest.h>

#include <ctime>

#include "support/zone_scope.h"

TEST(TimeZone, BiasesAndNamesFromTheMachineZone)
{
    const int64_t january = 947894400, july = 963619200;  // mid-month, 2000
    const struct {
        const char* zone;
        int64_t at;
        long bias, daylight_bias;
        const wchar_t *standard, *daylight;
    } zones[] = {
        {"America/New_York", july, 300, -60, L"EST", L"EDT"},  // from summer the rules of winter
        {"Australia/Sydney", july, -600, -60, L"AEST", L"AEDT"},
        {"Asia/Kolkata", january, -330, 0, L"IST", L"IST"},
        {"XST3:30XDT,M3.2.0,M11.1.0", january, 210, -60, L"XST", L"XDT"},  // a rule, not a file
    };
    for (const auto& z : zones) {
        ZoneScope zone(z.zone);
        const TimeZoneInfo tz = machine_time_zone_at(z.at);
        EXPECT_EQ(std::tie(tz.Bias, tz.DaylightBias), std::make_tuple(z.bias, z.daylight_bias))
            << z.zone;
        EXPECT_EQ(tz.StandardName + L"/" + tz.DaylightName, std::wstring(z.standard) + L"/" + z.daylight) << z.zone;
    }
}

// The machine zone's own daylight rule, asked at an hour read as standard
// time, as UT minus local time: the 2000 and 2024 rules of New York (on at
// 02:00, off at 01:00 standard time), Sydney's southern summer, Lord Howe's
// half hour, Dublin's winter flag and zones without any.
TEST(TimeZone, DaylightRuleFollowsTheZoneFiles)
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
        std::tm civil{};
        civil.tm_year = y - 1900, civil.tm_mon = m - 1, civil.tm_mday = d, civil.tm_hour = h;
        const bool daylight = tz.daylight_at && tz.daylight_at(timegm(&civil) + tz.Bias * 60);
        EXPECT_EQ(tz.Bias + (daylight ? tz.DaylightBias : 0), ut_minus_local)
            << zone << ' ' << y << '-' << m << '-' << d << ' ' << h;
    }
}

// Stray continuation bytes, lead bytes cut short by the end or by an ASCII
// byte, and bytes no sequence starts with: one U+FFFD each.
TEST(TimeZone, NamesWidenedFromUtf8)
{
    const std::pair<const char*, std::wstring> names[] = {
        {"CEST", L"CEST"}, {nullptr, L""}, {"Z\xC3\xBCrich", L"Z\u00FCrich"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC", L"\u6771\u4EAC"}, {"\xF0\x9F\x8C\x8D", std::wstring(1, wchar_t(0x1F30D))},
        {"a\x80z", L"a\uFFFDz"}, {"a\xE6\x9D", L"a\uFFFD"}, {"\xC3Z", L"\uFFFDZ"}, {"\xFF!", L"\uFFFD!"},
    };
    for (const auto& [utf8, wide] : names) EXPECT_EQ(widen_zone_name(utf8), wide) << (utf8 ? utf8 : "null");
}
