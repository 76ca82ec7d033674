#include "sky/clock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/time_zone.h"
#include "sky/calendar.h"
#include "zone_scope.h"

namespace {

const int64_t mid_january_2000 = 947894400;  // 2000-01-15 00:00 UT
const double pi = 3.141592653589793;

TimeState eastern_state()
{
    TimeState t;
    t.tzinfo = machine_time_zone_at(mid_january_2000);
    return t;
}

int64_t packed(const TimeState& t)
{
    return ((((int64_t{t.clock_year} * 100 + t.clock_month) * 100 + t.clock_day) * 100 + t.clock_hour) * 100 +
            t.clock_minute) *
               100 +
           t.clock_second;
}

}  // namespace

TEST(Clock, DayNumberAtJ2000FromLocalEasternTime)
{
    ZoneScope zone("America/New_York");
    TimeState t = eastern_state();
    // 19:00 local on 31 December is midnight UT of 1 January.
    set_clock(t, {1999, 12, 31, 19, 0, 0});
    EXPECT_EQ(t.instant.day_number, 1.0);
    EXPECT_EQ(t.time_manual, 1);

    set_clock(t, {2000, 1, 1, 7, 0, 0});
    EXPECT_EQ(t.instant.day_number, 1.5);

    // Following the clock gives the same, and leaves manual mode.
    t.now_ms = t.clock_ms_ref = 5000;
    t.clock_second = 0;
    update_time(t, 1, CivilTime{2000, 1, 1, 7, 0, 0});
    EXPECT_EQ(t.instant.day_number, 1.5);
    EXPECT_EQ(t.time_manual, 0);

    // Greenwich mean sidereal time at 2000-01-01 12:00 UT is 280.46062 degrees;
    // the obliquity 23.43929 degrees.
    const double gmst = std::remainder(t.instant.sidereal_angle * 180 / pi - 280.46062, 360.0);
    EXPECT_NEAR(gmst, 0, 0.01);
    EXPECT_NEAR(std::atan2(t.instant.sin_ecl, t.instant.cos_ecl) * 180 / pi, 23.43929, 1e-4);
}

TEST(Clock, DaylightBiasAcrossTheSpringGap)
{
    ZoneScope zone("America/New_York");
    TimeState t = eastern_state();
    // On 2 April 2000 01:59 EST is 06:59 UT and 02:00 EDT is 06:00 UT.
    set_clock(t, {2000, 4, 2, 1, 59, 0});
    const double before = t.instant.day_number;
    set_clock(t, {2000, 4, 2, 2, 0, 0});
    EXPECT_NEAR((t.instant.day_number - before) * 1440, -59, 1e-6);

    // Summer: EDT, four hours behind UT.
    set_clock(t, {2000, 7, 1, 20, 0, 0});
    EXPECT_NEAR(t.instant.day_number, days_from_date(2000, 7, 2) - days_from_date(1999, 12, 31), 1e-12);

    // On 29 October 00:59 EDT is 04:59 UT and 01:00 EST is 06:00 UT.
    set_clock(t, {2000, 10, 29, 0, 59, 0});
    const double daylight_end = t.instant.day_number;
    set_clock(t, {2000, 10, 29, 1, 0, 0});
    EXPECT_NEAR((t.instant.day_number - daylight_end) * 1440, 61, 1e-6);
}

TEST(Clock, NormalisationCarriesEachFieldOnce)
{
    ZoneScope zone("America/New_York");
    TimeState t = eastern_state();
    struct Case {
        int32_t y, mo, d, h, mi, s;
        int64_t want;
    };
    const Case cases[] = {
        {1999, 12, 31, 24, 0, 0, 20000101000000},   // hour stepped past midnight
        {2000, 3, 0, 12, 0, 0, 20000229120000},     // day stepped below 1
        {1900, 3, 0, 12, 0, 0, 19000228120000},     // no 29 February in 1900
        {2000, 1, 1, 0, 0, -1, 19991231235959},     // one second back through every field
        {1999, 13, 1, 0, 0, 0, 20000101000000},     // year stepped into month 13
        {2000, 2, 29, 23, 56, 4 + 60, 20000229235704},
    };
    for (const Case& c : cases) {
        set_clock(t, {c.y, c.mo, c.d, c.h, c.mi, c.s});
        EXPECT_EQ(packed(t), c.want);
    }

    // One sidereal-day step back from 1 March: date, minute and second all carry.
    int32_t y = 0, mo = 0, d = 0;
    date_from_days(days_from_date(2000, 3, 1) - 1, y, mo, d);
    set_clock(t, {y, mo, d, 0, 4, -4});
    EXPECT_EQ(packed(t), 20000229000356);
}

namespace {

// Drives update_time with the local clock of a machine whose true time is
// `ms` milliseconds after 2000-01-01 00:00:58.250 EST, sampled by a 32-bit
// timer that turns negative as a signed value a few seconds in.
struct ClockRun {
    TimeState t;
    uint32_t timer_start = 0x7FFFF000u;

    double true_day_number(int64_t ms) const
    {
        const double start = days_from_date(2000, 1, 1) - days_from_date(1999, 12, 31) + (5 * 3600 + 58.25) / 86400;
        return start + ms / 86400000.0;
    }

    void frame(int64_t ms)
    {
        const int64_t second = (58250 + ms) / 1000;  // seconds since 00:00:00 local
        CivilTime local{2000, 1, 1, int(second / 3600), int(second / 60 % 60), int(second % 60)};
        t.now_ms = static_cast<int32_t>(timer_start + static_cast<uint32_t>(ms));
        update_time(t, 1, local);
    }
};

}  // namespace

TEST(Clock, SubSecondPartSmoothAcrossTheMinuteAndTimerWrap)
{
    ZoneScope zone("America/New_York");
    ClockRun run;
    run.t = eastern_state();
    // Start-up takes the timer at an arbitrary phase of the clock's second.
    run.t.clock_ms_ref = run.t.now_ms = static_cast<int32_t>(run.timer_start);
    double previous = 0;
    for (int64_t ms = 0; ms < 6000; ms += 16) {
        run.frame(ms);
        const double error_ms = (run.t.instant.day_number - run.true_day_number(ms)) * 86400000.0;
        // Within one second at first; once a tick has been seen, within a frame.
        EXPECT_LT(std::fabs(error_ms), ms < 800 ? 1000.0 : 17.0) << ms;
        if (ms > 0) {
            EXPECT_GE(run.t.instant.day_number, previous) << ms;
        }
        previous = run.t.instant.day_number;
    }
    EXPECT_EQ(run.t.clock_minute, 1);

    // After a stalled frame of three seconds the clock is still within a frame.
    run.frame(9000);
    EXPECT_LT(std::fabs(run.t.instant.day_number - run.true_day_number(9000)) * 86400000.0, 17.0);

    // A local clock that stops (00:01:07 from 8750 ms on) holds the moment
    // inside its second however long the timer runs.
    run.frame(9500);
    for (int64_t ms = 9516; ms < 13000; ms += 16) {
        run.t.now_ms = static_cast<int32_t>(run.timer_start + static_cast<uint32_t>(ms));
        update_time(run.t, 1, CivilTime{2000, 1, 1, 0, 1, 7});
    }
    EXPECT_GE(run.t.instant.day_number, run.true_day_number(8750));
    EXPECT_LT(run.t.instant.day_number, run.true_day_number(9750));
}

TEST(Clock, ReturnToFollowingAfterManualSteps)
{
    ZoneScope zone("America/New_York");
    TimeState t = eastern_state();
    t.clock_ms_ref = t.now_ms = 1000;
    update_time(t, 1, CivilTime{2000, 1, 1, 12, 0, 30});
    // Manual steps zero the seconds; meanwhile the timer runs on.
    t.clock_second = 0;
    t.clock_minute += 2;
    t.time_manual = 1;
    update_time(t, 0, CivilTime{});
    t.now_ms = 61000;
    update_time(t, 1, CivilTime{2000, 1, 1, 12, 1, 29});
    const double want = days_from_date(2000, 1, 1) - days_from_date(1999, 12, 31) + (17 * 3600 + 89) / 86400.0;
    EXPECT_GE(t.instant.day_number, want);
    EXPECT_LT(t.instant.day_number, want + 1 / 86400.0);
    EXPECT_EQ(t.time_manual, 0);
}
