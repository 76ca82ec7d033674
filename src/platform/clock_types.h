#pragma once
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

// The machine's time zone: biases in minutes, UT = local + bias.
struct TimeZoneInfo {
    long Bias = 0;
    long StandardBias = 0;
    long DaylightBias = 0;
    std::wstring StandardName;
    std::wstring DaylightName;
};
