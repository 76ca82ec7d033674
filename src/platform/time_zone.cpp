#include "platform/time_zone.h"

#include <ctime>
#include <string>
#include <utility>

std::wstring widen_zone_name(const char* text)
{
    std::wstring out;
    if (text == nullptr) return out;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (s[i] != 0) {
        unsigned char lead = s[i];
        int extra = 0;
        char32_t c = lead;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0x80) {
            extra = -1;
        }
        // The terminating NUL is no continuation byte, so this stops at it.
        int used = 1;
        while (used <= extra && (s[i + used] & 0xC0) == 0x80) {
            c = (c << 6) | (s[i + used] & 0x3F);
            ++used;
        }
        out.push_back(static_cast<wchar_t>(used == extra + 1 ? c : 0xFFFD));
        i += static_cast<size_t>(used);
    }
    return out;
}

bool c_library_zone_sample(int64_t instant, ZoneSample& sample)
{
    time_t t = static_cast<time_t>(instant);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return false;
    sample.daylight = local.tm_isdst > 0;
    sample.offset = local.tm_gmtoff;
    sample.name = widen_zone_name(local.tm_zone);
    return true;
}

TimeZoneInfo time_zone_from_samples(int64_t instant, ZoneSampler sampler)
{
    tzset();
    // A year of daily samples meets both the standard and the daylight
    // rule of either hemisphere.
    ZoneSample standard, daylight;
    bool standard_found = false, daylight_found = false;
    for (int day = 0; day < 366 && !(standard_found && daylight_found); ++day) {
        ZoneSample s;
        if (!sampler(instant + int64_t{day} * 86400, s)) continue;
        bool& found = s.daylight ? daylight_found : standard_found;
        if (found) continue;
        found = true;
        (s.daylight ? daylight : standard) = s;
    }

    TimeZoneInfo tz;
    if (!standard_found) {
        // Daylight all year round is simply the zone's time.
        standard = daylight;
        daylight_found = false;
    }
    tz.Bias = -standard.offset / 60;
    tz.StandardName = standard.name;
    if (daylight_found) {
        tz.DaylightBias = -(daylight.offset - standard.offset) / 60;
        tz.DaylightName = daylight.name;
        tz.daylight_at = [sampler](int64_t at) {
            ZoneSample s;
            return sampler(at, s) && s.daylight;
        };
    } else {
        tz.DaylightBias = 0;
        tz.DaylightName = standard.name;
    }
    return tz;
}

namespace {

// The fixed rule at a moment of local standard time (seconds since 1970).
bool april_to_october(int64_t local_standard)
{
    const time_t t = static_cast<time_t>(local_standard);
    std::tm c{};
    if (gmtime_r(&t, &c) == nullptr) return false;
    const int month = c.tm_mon + 1;
    if (month != 4 && month != 10) return month > 4 && month < 10;
    if (month == 4) {
        const int first_weekday = ((c.tm_wday - (c.tm_mday - 1)) % 7 + 7) % 7;
        const int sunday = 1 + (7 - first_weekday) % 7;
        return c.tm_mday > sunday || (c.tm_mday == sunday && c.tm_hour >= 2);
    }
    const int sunday = 31 - (c.tm_wday + 31 - c.tm_mday) % 7;
    return c.tm_mday < sunday || (c.tm_mday == sunday && c.tm_hour < 1);
}

}  // namespace

TimeZoneInfo fixed_rule_zone(long bias, long daylight_bias, std::wstring standard_name, std::wstring daylight_name)
{
    TimeZoneInfo tz;
    tz.Bias = bias;
    tz.DaylightBias = daylight_bias;
    tz.StandardName = std::move(standard_name);
    tz.DaylightName = std::move(daylight_name);
    if (daylight_bias != 0) tz.daylight_at = [bias](int64_t at) { return april_to_october(at - bias * 60); };
    return tz;
}

TimeZoneInfo machine_time_zone_at(int64_t instant) { return time_zone_from_samples(instant, c_library_zone_sample); }

TimeZoneInfo machine_time_zone()
{
    return machine_time_zone_at(static_cast<int64_t>(time(nullptr)));
}

CivilTime machine_local_time()
{
    tzset();
    time_t now = time(nullptr);
    std::tm local{};
    CivilTime civil;
    if (localtime_r(&now, &local) == nullptr) return civil;
    civil.year = local.tm_year + 1900;
    civil.month = local.tm_mon + 1;
    civil.day = local.tm_mday;
    civil.hour = local.tm_hour;
    civil.minute = local.tm_min;
    // A leap second shows as the last ordinary second of its minute.
    civil.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return civil;
}
