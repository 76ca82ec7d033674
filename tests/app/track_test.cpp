#include <gtest/gtest.h>

#include <vector>

#include "app/track.h"
#include "app/view_ops.h"
#include "platform/scan_codes.h"
#include "sky/ephemeris.h"
#include "sky/event_search.h"
#include "support/headless_viewer.h"

// Where the events are found is checked against PyEphem by globetool's
// tests; these are the keys around the search and what it leaves behind.

namespace {

using namespace dik;

Vec3 place(double lat, double lon) { return position_at_degrees(lat, lon) * View{}.min_dist; }

std::vector<int> clock(const TimeState& t)
{
    return {t.clock_year, t.clock_month, t.clock_day, t.clock_hour, t.clock_minute, t.clock_second};
}

std::vector<int> clock(const CivilTime& c) { return {c.year, c.month, c.day, c.hour, c.minute, c.second}; }

}  // namespace

TEST(Tracking, KeysChooseTheBodyAndStartTheSearch)
{
    uint8_t keys[256] = {};
    EXPECT_EQ(selected_body(keys), -1);
    keys[key1 + 2] = keys[key1 + 5] = 1;
    EXPECT_EQ(selected_body(keys), 5);
    keys[key0] = 1;
    EXPECT_EQ(selected_body(keys), sun_index);
    for (int32_t body = 0; body < num_bodies; ++body) EXPECT_EQ(body_key(body), body == 9 ? key0 : key1 + body);

    const struct {
        double lat;
        CivilTime start;
        std::initializer_list<uint8_t> keys;
        CivilTime found;  // the start itself: the clock only stops
        int manual;
    } cases[] = {
        {51.5, {2000, 3, 20, 5, 40, 0}, {key0, backslash}, {2000, 3, 20, 6, 2, 13}, 1},
        {40, {2000, 3, 1, 0, 0, 0}, {key0, lshift, backslash}, {2000, 3, 20, 7, 23, 49}, 1},
        {40, {2000, 6, 10, 9, 30, 15}, {key0, rshift, backslash}, {2000, 6, 10, 9, 30, 15}, 1},
        {40, {2000, 6, 10, 9, 30, 15}, {backslash}, {2000, 6, 10, 9, 30, 15}, 0},
    };
    for (const auto& c : cases) {
        HeadlessViewer v({"/160x120"}, nullptr, c.start);
        v.frame();
        v.app->view.camera.viewpos = place(c.lat, 0);
        v.frame_with(c.keys);
        EXPECT_EQ(clock(v.app->time), clock(c.found));
        EXPECT_EQ(v.app->time.time_manual, c.manual);
        EXPECT_EQ(v.app->controls.key_state[backslash], 1 - c.manual);
    }
}

TEST(Tracking, PolarNightAndEscapeEndTheSearch)
{
    HeadlessViewer night({"/160x120"}, nullptr, {2000, 12, 21, 12, 0, 0});
    night.frame();
    night.app->view.camera.viewpos = place(80, 0);
    night.frame_with({key0, backslash});
    EXPECT_EQ(night.app->time.time_manual, 1);

    HeadlessViewer stopped({"/160x120"}, nullptr, {2000, 6, 21, 12, 0, 0});
    stopped.frame();
    stopped.app->view.camera.viewpos = place(80, 0);
    stopped.platform.mid_frame_keys = {{escape, true}};
    stopped.frame_with({key0, backslash});
    EXPECT_GE(stopped.platform.mid_frame_polls, 1);
    EXPECT_LE(stopped.platform.mid_frame_polls, 2);

    // Near the pole at midsummer the Sun never sets: a search that finds nothing stays where it began.
    TimeState t;
    set_clock(t, {2000, 6, 21, 18, 0, 0});
    if (search_event(sun_index, false, t, place(89, 0), [] { return false; }) == EventKind::none) {
        EXPECT_EQ(clock(t), (std::vector<int>{2000, 6, 21, 18, 0, 0}));
    }
    EXPECT_EQ(t.time_manual, 1);
}
