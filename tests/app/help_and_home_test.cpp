#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/help.h"
#include "app/status.h"
#include "app/time_and_place.h"
#include "core/constants.h"
#include "platform/scan_codes.h"
#include "support/headless_viewer.h"

namespace {

using namespace dik;

size_t entries(const std::vector<HelpGroup>& groups)
{
    size_t n = 0;
    for (const HelpGroup& g : groups) n += g.lines.size() + 1;
    return n;
}

}  // namespace

// Every title and line fits the default frame, between the status lines and
// the speed line, without two overlapping; a larger frame takes more lines
// in a column, a small one leaves whole groups out.
TEST(Help, LayoutFitsTheFrame)
{
    const struct {
        int32_t w, h;
        bool touch, all;
    } frames[] = {{640, 480, false, true}, {640, 480, true, true}, {1280, 1024, true, true}, {320, 200, true, false}};
    for (const auto& f : frames) {
        const std::vector<HelpGroup> groups = help_groups(f.touch);
        const std::vector<HelpText> laid = help_layout(groups, f.w, f.h);
        EXPECT_EQ(laid.size() == entries(groups), f.all) << f.w << "x" << f.h;
        EXPECT_FALSE(laid.empty());
        for (size_t i = 0; i < laid.size(); ++i) {
            const HelpText& a = laid[i];
            const auto right = a.x + 4 * static_cast<int32_t>(std::string(a.text).size());
            EXPECT_GE(a.y, 40) << a.text;
            EXPECT_LE(a.y + 6, f.h - 8) << a.text;
            EXPECT_LE(right, f.w) << a.text;
            for (size_t j = 0; j < i; ++j) {
                const HelpText& b = laid[j];
                const auto b_right = b.x + 4 * static_cast<int32_t>(std::string(b.text).size());
                EXPECT_FALSE(a.y == b.y && a.x < b_right && b.x < right) << a.text << " over " << b.text;
            }
        }
    }
    // A frame too short for any group shows none rather than drawing over the speed line.
    EXPECT_TRUE(help_layout(help_groups(true), 1920, 180).empty());
    const auto columns = [](int32_t w, int32_t h) { return help_layout(help_groups(true), w, h).back().x; };
    EXPECT_GT(columns(1280, 1024), columns(640, 480));
    // The keys' own lines are in the overlay's reference frame; a touch screen adds its gestures.
    EXPECT_EQ(help_groups(true).size(), help_groups(false).size() + 1);
}

// F1 puts the overlay over the whole frame and takes it away again; the hint
// shows only in the interactive viewer, only for its first ten seconds and
// only where it fits.
TEST(Help, OverlayAndHintInWholeFrames)
{
    HeadlessViewer plain({"/640x480"}), help({"/640x480"});
    for (HeadlessViewer* v : {&plain, &help}) v->frame();
    help.frame_with({f1});
    plain.frame();
    EXPECT_NE(help.digest(), plain.digest());
    EXPECT_EQ(help.digest(), 0x5c176b854de4cd5au);
    help.frame_with({f1});
    plain.frame();
    EXPECT_EQ(help.digest(), plain.digest());

    // From a clock at 0 and from one that passes its 32-bit wrap on the way.
    for (const uint32_t start : {0u, 0xfffff000u}) {
        SCOPED_TRACE(start);
        const CivilTime noon{2000, 1, 1, 12, 0, 0};
        HeadlessViewer hinted({"/640x480"}, nullptr, noon, start), bare({"/640x480"}, nullptr, noon, start);
        hinted.app->settings.help_hint = true;
        for (HeadlessViewer* v : {&hinted, &bare}) v->frame();
        // Its eight glyphs in the bottom right corner, the last against the edge.
        int32_t left = 640, right = -1, top = 480;
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x)
                if (hinted.platform.frame_row(y)[x] != bare.platform.frame_row(y)[x])
                    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
        EXPECT_TRUE(left >= 640 - 8 * 4 && right >= 640 - 4 && top >= 480 - 6) << left << " " << right << " " << top;
        // Shown 9.999 s after the start, gone at 10 s.
        const uint32_t shown = static_cast<uint32_t>(hinted.app->time.now_ms - hinted.app->controls.start_ms);
        for (HeadlessViewer* v : {&hinted, &bare}) {
            v->platform.ms_per_frame = 9999 - shown;
            v->frame();
        }
        EXPECT_NE(hinted.digest(), bare.digest());
        for (HeadlessViewer* v : {&hinted, &bare}) {
            v->platform.ms_per_frame = 1;
            v->frame();
        }
        EXPECT_EQ(hinted.app->time.now_ms - hinted.app->controls.start_ms, 10000);
        EXPECT_EQ(hinted.digest(), bare.digest());
    }
    // A frame a pixel too narrow or too low for the whole hint shows none of it.
    for (const char* size : {"/31x120", "/160x5"}) {
        HeadlessViewer hinted({size}), bare({size});
        hinted.app->settings.help_hint = true;
        for (HeadlessViewer* v : {&hinted, &bare}) v->frame();
        EXPECT_EQ(hinted.digest(), bare.digest()) << size;
    }
}

// --home puts the home view, at start and after '/', where globetool's
// --from puts the eye; a refused value is reported and the built-in home kept.
TEST(Home, StartAndReturnAtTheNamedPlace)
{
    const auto place_lines = [](const Vec3& p) { return latitude_line(p) + " " + longitude_line(p); };
    for (const std::string home : {"-33.5,151.25", "90,0", "-90,-180", "0.5,180", "41.6611,-71.4845"}) {
        HeadlessViewer v({"/160x120", "--home", home});
        v.frame();
        Vec3 from;
        ASSERT_TRUE(parse_place(home, from));
        EXPECT_NEAR((length(from) - 1) * earth_radius_miles, 5, 1e-9) << "a place without altitude is 5 miles up";
        EXPECT_EQ(place_lines(v.app->view.camera.viewpos), place_lines(from)) << home;
        v.frame_with({g});
        for (int i = 0; i < 5; ++i) v.frame_with({up});
        EXPECT_NE(place_lines(v.app->view.camera.viewpos), place_lines(from)) << home;
        v.frame_with({slash});
        EXPECT_EQ(place_lines(v.app->view.camera.viewpos), place_lines(from)) << home;
        EXPECT_TRUE(v.platform.messages.empty());
    }
    HeadlessViewer builtin;
    builtin.frame();
    for (const std::string bad : {"91,0", "0,180.5", "nan,0", "0,inf", "1", "1,2,3", "1,2x", "", "bo"}) {
        HeadlessViewer v({"/160x120", "--home", bad});
        v.frame();
        ASSERT_EQ(v.platform.messages.size(), 1u) << bad;
        EXPECT_EQ(v.platform.messages[0].text, home_refusal(bad));
        EXPECT_EQ(v.app->settings.bord_filename, "BORDX.DAT");
        EXPECT_EQ(v.digest(), builtin.digest()) << bad;
    }
    EXPECT_EQ(home_refusal("x"), "--home: bad value 'x' (want LAT,LON: LAT -90 to 90 and LON -180 to 180 degrees)");
    // --from's height: above the Earth's centre and at most 1e9 miles.
    const double centre = -earth_radius_miles;
    for (const auto& [alt, ok] : {std::pair{1e9, true}, {1.0000001e9, false}, {centre + 1, true}, {centre, false}}) {
        Vec3 p;
        EXPECT_EQ(parse_place("0,0," + std::to_string(alt), p), ok) << alt;
    }
}
