#include "platform/time_zone.h"

#include <gtest/gtest.h>

#include "../sky/zone_scope.h"

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
        EXPECT_EQ(std::tie(tz.Bias, tz.StandardBias, tz.DaylightBias), std::make_tuple(z.bias, 0L, z.daylight_bias))
            << z.zone;
        EXPECT_EQ(tz.StandardName + L"/" + tz.DaylightName, std::wstring(z.standard) + L"/" + z.daylight) << z.zone;
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
