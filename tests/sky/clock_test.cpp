#include "sky/clock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/time_zone.h"
#include "sky/calendar.h"

// The sidereal angle and the obliquity move every body that test_sky.py
// compares with PyEphem; here are the local clock's carries, wraps and phases.
namespace {

TimeState eastern_state()
{
    TimeState t;
    t.tzinfo = fixed_rule_zone(300, -60, L"EST", L"EDT");
    return t;
}

// Days since 1999-12-31 00:00 UT of 2000-01-01 at the given seconds of UT.
double jan_1_2000(double ut_seconds)
{
    return days_from_date(2000, 1, 1) - days_from_date(1999, 12, 31) + ut_seconds / 86400;
}

}  // namespace

TEST(Clock, LocalEasternTimeAndNormalisationCarryingEachFieldOnce)
{
    TimeState t = eastern_state();
    set_clock(t, {1999, 12, 31, 19, 0, 0});  // EST: midnight UT
    EXPECT_EQ(t.instant.day_number, 1.0);
    EXPECT_EQ(t.time_manual, 1);
    for (auto [local, want] :
         {std::pair{CivilTime{1999, 12, 31, 24, 0, 0}, 20000101000000}, {{2000, 3, 0, 12, 0, 0}, 20000229120000},
          {{2000, 1, 1, 0, 0, -1}, 19991231235959}, {{2000, 2, 29, 23, 56, 64}, 20000229235704},
          {{2000, 2, 29, 23, 59, 60}, 20000301000000}, {{2000, 12, 31, 23, 60, 0}, 20010101000000},
          {{2000, 6, 30, 0, 0, 59}, 20000630000059}, {{2000, 6, 30, 0, 59, 0}, 20000630005900}}) {
        set_clock(t, local);
        const int64_t got = ((((int64_t{t.clock_year} * 100 + t.clock_month) * 100 + t.clock_day) * 100 + t.clock_hour) *
                                 100 + t.clock_minute) * 100 + t.clock_second;
        EXPECT_EQ(got, want);
    }
}

// The local clock reads 00:00:58.250 EST when a 32-bit timer, a few seconds
// from turning negative, is first sampled at an arbitrary phase.
TEST(Clock, SubSecondPartSmoothAcrossTheMinuteTimerWrapStallsAndStops)
{
    TimeState t = eastern_state();
    const uint32_t start = 0x7FFFF000u;
    const auto frame = [&](int64_t ms, int64_t clock_ms) {
        const int64_t s = (58250 + clock_ms) / 1000;
        t.now_ms = static_cast<int32_t>(start + static_cast<uint32_t>(ms));
        update_time(t, 1, CivilTime{2000, 1, 1, int(s / 3600), int(s / 60 % 60), int(s % 60)});
        return (t.instant.day_number - jan_1_2000(5 * 3600 + 58.25 + ms / 1000.0)) * 86400000.0;
    };
    t.clock_ms_ref = t.now_ms = static_cast<int32_t>(start);
    t.time_manual = 1;  // reading the clock again returns to following it
    double previous = 0;
    for (int64_t ms = 0; ms < 6000; ms += 16) {
        // Within one second at first; once a tick has been seen, within a frame.
        EXPECT_LT(std::fabs(frame(ms, ms)), ms < 800 ? 1000.0 : 17.0) << ms;
        EXPECT_GE(t.instant.day_number, previous) << ms;
        previous = t.instant.day_number;
    }
    EXPECT_EQ(t.time_manual, 0);
    EXPECT_LT(std::fabs(frame(9000, 9000)), 17.0) << "after a stall of three seconds";
    // A clock stopped at 00:01:07 holds the moment inside its second.
    for (int64_t ms = 9500; ms < 13000; ms += 16) frame(ms, 8750);
    EXPECT_GE(t.instant.day_number, jan_1_2000(5 * 3600 + 67));
    EXPECT_LT(t.instant.day_number, jan_1_2000(5 * 3600 + 68));
}
