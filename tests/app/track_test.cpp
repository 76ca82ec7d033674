#include <gtest/gtest.h>

#include <cmath>

#include "app/track.h"
#include "app/view_ops.h"
#include "platform/scan_codes.h"
#include "sky/ephemeris.h"
#include "support/headless_viewer.h"

namespace {

// Degrees north and east to the Earth-fixed frame (latitude negative in the north), on the surface.
Vec3 place(double lat, double lon) { return position_at_degrees(lat, lon) * View{}.min_dist; }

struct Tracking : HeadlessViewer {
    Tracking(double lat, double lon, CivilTime at)
    {
        frame();
        app->view.camera.viewpos = place(lat, lon);
        set_clock(app->time, at);
    }
    double sine_of_altitude(int32_t body, int seconds_later = 0) const
    {
        TimeState t = app->time;
        t.clock_second += seconds_later;
        update_time(t, 0, CivilTime{});
        const Vec3 b = body_direction(body, t.instant, app->view.camera.viewpos);
        return dot(b, app->view.camera.viewpos) / (length(b) * length(app->view.camera.viewpos));
    }
    double meridian_side(int32_t body, int seconds_later = 0) const
    {
        TimeState t = app->time;
        t.clock_second += seconds_later;
        update_time(t, 0, CivilTime{});
        const Vec3 b = body_direction(body, t.instant, app->view.camera.viewpos);
        const Vec3& p = app->view.camera.viewpos;
        return b.z * p.x - b.x * p.z;
    }
    CivilTime clock() const
    {
        const TimeState& t = app->time;
        return {t.clock_year, t.clock_month, t.clock_day, t.clock_hour, t.clock_minute, t.clock_second};
    }
};

bool same(const CivilTime& a, const CivilTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

}  // namespace

TEST(Tracking, ZeroWinsAndTheViewFollowsTheBody)
{
    uint8_t keys[256] = {};
    EXPECT_EQ(selected_body(keys), -1);
    keys[dik::key1 + 2] = keys[dik::key1 + 5] = 1;
    EXPECT_EQ(selected_body(keys), 5);
    keys[dik::key0] = 1;
    EXPECT_EQ(selected_body(keys), sun_index);
    for (int32_t body = 0; body < num_bodies; ++body) EXPECT_EQ(body_key(body), body == 9 ? dik::key0 : dik::key1 + body);

    Tracking v(41.7, -71.5, {2000, 6, 21, 12, 0, 0});
    v.platform.press({body_key(moon_index), dik::key0});
    v.frame();
    const Vec3 sun = body_direction(sun_index, v.app->time.instant, v.app->view.camera.viewpos);
    EXPECT_NEAR(dot(v.app->view.camera.viewfwd, sun) / length(sun), 1, 1e-12);
    EXPECT_NEAR(v.app->view.camera.viewright.y, 0, 1e-15);
}

TEST(Tracking, BackslashWithoutADigitDoesNothing)
{
    Tracking v(41.7, -71.5, {2000, 6, 21, 12, 0, 0});
    v.app->time.time_manual = 0;
    const CivilTime local = v.platform.local_clock;
    v.frame_with({dik::backslash});
    EXPECT_EQ(v.app->time.time_manual, 0);
    EXPECT_TRUE(same(v.clock(), local));
}

TEST(Tracking, SunriseIsTheLastSecondBeforeTheCentreReachesTheThreshold)
{
    // Near Greenwich in March the Sun rises about 06:10 UT; at 05:40 it is a few degrees below the east.
    Tracking v(51.5, 0, {2000, 3, 20, 5, 40, 0});
    ASSERT_LT(v.sine_of_altitude(sun_index), 0);
    v.frame_with({dik::key0, dik::backslash});
    const double threshold = std::sin(-0.014538592669112765);
    EXPECT_LT(v.sine_of_altitude(sun_index), threshold);
    EXPECT_GE(v.sine_of_altitude(sun_index, 1), threshold);
    EXPECT_EQ(v.app->time.clock_hour, 6);
    EXPECT_EQ(v.app->time.time_manual, 1);
    EXPECT_EQ(v.app->controls.key_state[dik::backslash], 0);
}

TEST(Tracking, MoonHighInTheSouthGivesItsMeridianPassage)
{
    // Full Moon of 2000-01-21; at local midnight it stands high in the south of 40 N.
    Tracking v(40, 0, {2000, 1, 21, 0, 40, 0});
    ASSERT_GT(v.sine_of_altitude(moon_index), 0.5);
    v.frame_with({dik::key1 + moon_index, dik::backslash});
    // East of the meridian before, west after: the upper passage, not the lower one 12 hours away.
    EXPECT_GT(v.sine_of_altitude(moon_index), 0.5);
    EXPECT_LT(v.meridian_side(moon_index) * v.meridian_side(moon_index, 1), 0);
}

TEST(Tracking, EquinoxInMarchOnlyFreezeInJune)
{
    Tracking march(40, 0, {2000, 3, 1, 0, 0, 0});
    march.frame_with({dik::key0, dik::lshift, dik::backslash});
    EXPECT_EQ(march.app->time.clock_month, 3);
    EXPECT_EQ(march.app->time.clock_day, 20);

    Tracking june(40, 0, {2000, 6, 10, 9, 30, 15});
    june.app->time.time_manual = 0;
    june.platform.local_clock = {2000, 6, 10, 9, 30, 15};
    june.frame_with({dik::key0, dik::rshift, dik::backslash});
    EXPECT_EQ(june.app->time.time_manual, 1);
    EXPECT_TRUE(same(june.clock(), {2000, 6, 10, 9, 30, 15}));
}

TEST(Tracking, PolarNightAndEscapeEndTheSearch)
{
    Tracking night(80, 0, {2000, 12, 21, 12, 0, 0});
    night.frame_with({dik::key0, dik::backslash});
    EXPECT_EQ(night.app->time.time_manual, 1);

    Tracking stopped(80, 0, {2000, 6, 21, 12, 0, 0});
    stopped.platform.mid_frame_keys = {{dik::escape, true}};
    stopped.frame_with({dik::key0, dik::backslash});
    EXPECT_GE(stopped.platform.mid_frame_polls, 1);
    EXPECT_LE(stopped.platform.mid_frame_polls, 2);
}

TEST(Tracking, SearchWithoutACrossingGivesUpWhereItStarted)
{
    // Near the pole at midsummer the Sun never sets: the setting search finds nothing.
    TimeState t;
    set_clock(t, {2000, 6, 21, 18, 0, 0});
    const EventKind kind = search_event(sun_index, false, t, place(89, 0), [] { return false; });
    if (kind == EventKind::none) {
        EXPECT_EQ(t.clock_hour, 18);
        EXPECT_EQ(t.clock_day, 21);
    }
    EXPECT_EQ(t.time_manual, 1);
}
