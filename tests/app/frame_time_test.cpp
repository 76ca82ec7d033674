#include <gtest/gtest.h>

#include <cmath>

#include "../sky/zone_scope.h"
#include "platform/scan_codes.h"
#include "platform/time_zone.h"
#include "support/headless_viewer.h"

namespace {

const int64_t mid_january_2000 = 947894400;  // 2000-01-15 00:00 UT

int64_t packed(const TimeState& t)
{
    return ((((int64_t{t.clock_year} * 100 + t.clock_month) * 100 + t.clock_day) * 100 + t.clock_hour) * 100 +
            t.clock_minute) *
               100 +
           t.clock_second;
}

// The viewer in US Eastern time, its first frame drawn and the clock following local time.
struct EasternViewer {
    ZoneScope zone{"America/New_York"};
    TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
    HeadlessViewer v;

    explicit EasternViewer(CivilTime local) : v({"/160x120"}, &tz, local) { v.frame(); }
    const TimeState& time() const { return v.app->time; }
};

}  // namespace

TEST(FrameTime, ShiftEqualsAddsOneMinutePerPress)
{
    EasternViewer e(CivilTime{2000, 1, 1, 12, 0, 30});
    ASSERT_EQ(packed(e.time()), 20000101120030);
    ASSERT_EQ(e.time().time_manual, 0);

    e.v.platform.press({dik::lshift, dik::equals});
    e.v.frames(4);
    EXPECT_EQ(packed(e.time()), 20000101120100);
    EXPECT_EQ(e.time().time_manual, 1);
    e.v.platform.release({dik::equals});
    e.v.frame();
    e.v.platform.press({dik::minus});
    e.v.frames(3);
    EXPECT_EQ(packed(e.time()), 20000101120000);
}

TEST(FrameTime, HeldEqualsAddsTwoMinutesPerFrame)
{
    EasternViewer e(CivilTime{2000, 1, 1, 23, 55, 30});
    e.v.platform.press({dik::equals});
    e.v.frames(3);
    EXPECT_EQ(packed(e.time()), 20000102000100);
    // The local clock no longer moves the shown time.
    e.v.platform.release({dik::equals});
    e.v.platform.local_clock = CivilTime{2000, 1, 1, 23, 59, 59};
    e.v.frames(2);
    EXPECT_EQ(packed(e.time()), 20000102000100);
    // Reset follows the local clock again.
    e.v.frame_with({dik::slash});
    EXPECT_EQ(packed(e.time()), 20000101235959);
    EXPECT_EQ(e.time().time_manual, 0);
}

TEST(FrameTime, RightShiftBracketStepsOneSiderealDay)
{
    EasternViewer e(CivilTime{2000, 2, 28, 12, 0, 0});
    const double angle = e.time().instant.sidereal_angle;
    const double day = e.time().instant.day_number;
    e.v.frame_with({dik::rshift, dik::rbracket});
    EXPECT_EQ(packed(e.time()), 20000229115604);
    // Following the clock, the first moment was one 16 ms frame into its second.
    const double frame_days = 16 / 86400000.0;
    EXPECT_NEAR(e.time().instant.day_number - day + frame_days, 86164.0 / 86400, 1e-9);
    // The stars stand where they stood.
    EXPECT_NEAR(std::remainder(e.time().instant.sidereal_angle - angle, 2 * 3.141592653589793), 0, 1e-4);

    e.v.frame_with({dik::rshift, dik::lbracket});
    EXPECT_EQ(packed(e.time()), 20000228120000);
}

TEST(FrameTime, DateStepAcrossTheDaylightSwitchMovesTheHour)
{
    EasternViewer e(CivilTime{2000, 4, 1, 12, 0, 0});
    const double day = e.time().instant.day_number;
    e.v.frame_with({dik::rbracket});
    // Noon EST on 1 April and 13:00 EDT on 2 April are one whole day apart.
    EXPECT_EQ(packed(e.time()), 20000402130000);
    const double frame_days = 16 / 86400000.0;  // the first moment's part of its second
    EXPECT_NEAR(e.time().instant.day_number - day + frame_days, 1.0, 1e-9);
    e.v.frame_with({dik::lbracket});
    EXPECT_EQ(packed(e.time()), 20000401120000);
    EXPECT_NEAR(e.time().instant.day_number - day + frame_days, 0, 1e-9);

    // In autumn the hour goes back; a step within daylight time keeps it.
    e.v.app->time.clock_month = 10;
    e.v.app->time.clock_day = 27;
    e.v.frame_with({dik::rbracket});
    EXPECT_EQ(packed(e.time()), 20001028120000);
    e.v.frame_with({dik::rbracket});
    EXPECT_EQ(packed(e.time()), 20001029110000);
}
