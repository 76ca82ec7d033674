#include <gtest/gtest.h>

#include <tuple>

#include "app/view_ops.h"
#include "platform/scan_codes.h"
#include "sky/ephemeris.h"
#include "support/headless_viewer.h"

using namespace dik;

// Where the events fall is checked against PyEphem by globetool's tests; these
// are the keys around the search, what it leaves behind and how it ends.
TEST(Tracking, KeysStartTheSearchAndPolarNightOrEscapeEndIt)
{
    const auto clock = [](const TimeState& t) {
        return std::make_tuple(t.clock_year, t.clock_month, t.clock_day, t.clock_hour, t.clock_minute, t.clock_second);
    };
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
        {40, {2000, 6, 10, 9, 30, 15}, {key1 + moon_index, backslash}, {2000, 6, 10, 7, 6, 18}, 1},  // as globetool events
        {40, {2000, 6, 10, 9, 30, 15}, {key1, backslash}, {2000, 6, 10, 6, 13, 19}, 1},  // Mercury, the first body
    };
    for (const auto& c : cases) {
        HeadlessViewer v({"/160x120"}, nullptr, c.start);
        v.frame();
        v.app->view.camera.viewpos = position_at_degrees(c.lat, 0) * View{}.min_dist;
        v.frame_with(c.keys);
        const CivilTime& f = c.found;
        EXPECT_EQ(clock(v.app->time), std::make_tuple(f.year, f.month, f.day, f.hour, f.minute, f.second)) << c.lat;
        EXPECT_EQ(v.app->time.time_manual, c.manual);
        EXPECT_EQ(v.app->controls.key_state[backslash], 1 - c.manual);
    }
    // Polar night has no sunrise to find; Escape during a search in the midnight sun stops it.
    for (const CivilTime& day : {CivilTime{2000, 12, 21, 12, 0, 0}, CivilTime{2000, 6, 21, 12, 0, 0}}) {
        HeadlessViewer v({"/160x120"}, nullptr, day);
        v.frame();
        v.app->view.camera.viewpos = position_at_degrees(80, 0) * View{}.min_dist;
        if (day.month == 6) v.platform.mid_frame_keys = {{escape, true}};
        v.frame_with({key0, backslash});
        EXPECT_EQ(v.app->time.time_manual, 1);
        if (day.month == 6) {
            EXPECT_GE(v.platform.mid_frame_polls, 1);
            EXPECT_LE(v.platform.mid_frame_polls, 2);
        }
    }
}
