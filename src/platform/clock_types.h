#pragma once
#include <cstdint>
#include <functional>
#include <string>

// A local civil date and time with whole seconds, as the machine's clock gives it.
struct CivilTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A time zone as the platform reports it: biases in minutes, UT = local +
// bias, and its own daylight rule, so that whatever reads the zone needs
// nothing else.
struct TimeZoneInfo {
    long Bias = 0;
    long DaylightBias = 0;
    std::wstring StandardName;
    std::wstring DaylightName;
    // Whether daylight time is in effect at an instant (seconds since 1970
    // UT); none: never.
    std::function<bool(int64_t instant)> daylight_at;
};
