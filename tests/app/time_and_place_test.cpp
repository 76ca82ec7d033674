// Times as the user names them, against instants from Python's
// calendar.timegm; the date must exist and every field lie in its range.
#include "app/time_and_place.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

TEST(TimeAndPlace, TimesToInstantsAndRefusals)
{
    const std::pair<const char*, std::optional<int64_t>> cases[] = {
        {"2000-01-01T00:00Z", 946684800},
        {"2000-01-01T00:00:00Z", 946684800},
        {"2024-03-20T12:00Z", 1710936000},
        {"2024-02-29T23:59:59Z", 1709251199},
        {"1999-12-31T23:59:60Z", 946684800},  // a leap second runs into the next day
        {"2000-06-21T12:00-03:00", 961588800 + 3 * 3600},
        {"2024-02-29T23:59:59+05:30", 1709251199 - 5 * 3600 - 30 * 60},
        {"1969-12-31T23:59:59Z", -1},
        {"2038-01-19T03:14:08Z", 2147483648},
        {"0001-01-01T00:00Z", -62135596800},
        {"9999-12-31T23:59:59Z", 253402300799},
        {"0000-01-01T00:00Z", std::nullopt},
        {"2001-02-29T00:00Z", std::nullopt},
        {"2000-04-31T00:00Z", std::nullopt},
        {"2000-13-01T00:00Z", std::nullopt},
        {"2000-00-01T00:00Z", std::nullopt},
        {"2000-01-00T00:00Z", std::nullopt},
        {"2000-01-01T24:00Z", std::nullopt},
        {"2000-01-01T00:60Z", std::nullopt},
        {"2000-01-01T00:00:61Z", std::nullopt},
        {"2000-01-01T00:00+24:00", std::nullopt},
        {"2000-01-01T00:00+05:60", std::nullopt},
        {"2000-01-01T00:00+05:00:00", std::nullopt},
        {"2000-01-01T00:00Z ", std::nullopt},
        {"2000-01-01T00:00Q", std::nullopt},
        {"2000-01-01", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, instant] : cases) {
        int64_t seconds = 12345;
        ASSERT_EQ(parse_time(text, seconds), instant.has_value()) << text;
        EXPECT_EQ(seconds, instant.value_or(seconds)) << text;
    }
}
