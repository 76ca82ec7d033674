#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/view_ops.h"
#include "core/constants.h"
#include "platform/scan_codes.h"
#include "platform/time_zone.h"
#include "sky/ephemeris.h"
#include "support/headless_viewer.h"

namespace {

using namespace dik;

// Keys pressed before the first of its frames and released before the next
// step; the mouse and wheel move by the same amounts in every frame.
struct Step {
    std::vector<uint8_t> keys;
    int frames = 1;
    int32_t dx = 0, dy = 0, buttons = 0, wheel = 0;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    uint64_t digest;
    void (*setup)(App&) = nullptr;
};

// 300 miles up, the Sun straight below through the Earth at night or straight above by day.
void sun_from(App& app, double side)
{
    app.view.texture_loaded = false;
    app.view.orbit_mode = app.view.auto_level = 0;
    const Vec3 sun = body_direction(sun_index, app.time.instant, app.view.camera.viewpos);
    app.view.camera.viewpos = sun * (side * (earth_radius_miles + 300) / earth_radius_miles / length(sun));
    view_look_at(app.view.camera, sun.x, sun.y, sun.z);
}
void under_the_sun(App& app) { sun_from(app, -1); }
void under_the_sun_by_day(App& app) { sun_from(app, 1); }
// Three radii out, the globe drawn from the shorelines under the sky.
void far_out(App& app)
{
    app.view.texture_loaded = false;
    app.view.camera.viewpos = {1, -2, 2};
}
// Three radii out over the western Pacific before dawn, the picture kept.
void far_out_textured(App& app) { app.view.camera.viewpos = {1, -2, 2}; }
void above_the_floor(App& app) { app.view.camera.viewpos = app.view.camera.viewpos * (1.02 / length(app.view.camera.viewpos)); }

// The viewer in US Eastern time (old rules: daylight from the first Sunday of
// April) at noon on 1 April 2000, after its first frame, played through the
// steps; a frame other than the reference is written out as a picture.
void play(const Case& c)
{
    TimeZoneInfo eastern = fixed_rule_zone(300, -60, L"EST", L"EDT");
    HeadlessViewer v({"/160x120"}, &eastern, CivilTime{2000, 4, 1, 12, 0, 0});
    v.frame();
    if (c.setup) c.setup(*v.app);
    std::vector<uint8_t> held;
    for (const Step& s : c.steps) {
        for (int i = 0; i < s.frames; ++i) {
            HeadlessPlatform::FrameInput in{{}, s.dx, s.dy, s.buttons, s.wheel, {}};
            for (uint8_t k : i ? std::vector<uint8_t>{} : held) in.keys.push_back({k, false});
            for (uint8_t k : i ? std::vector<uint8_t>{} : s.keys) in.keys.push_back({k, true});
            v.platform.script.push_back(in);
            v.frame();
        }
        held = s.keys;
    }
    if (const uint64_t got = v.digest(); got != c.digest)
        ADD_FAILURE() << c.name << ": 0x" << std::hex << got << ", frame in "
                      << v.save_png(std::string("viewer_frames ") + c.name);
}

}  // namespace

// Whole frames after each way of moving, turning, zooming, timing and
// toggling, against reference frames checked by eye when first drawn.
TEST(ViewerFrames, EveryControlAgainstItsReferenceFrame)
{
    const Case cases[] = {
        {"home", {{{}, 2}}, 0xb5d0bd65a0298f75u},
        {"toggles act once per press", {{{h, b, t, grave}, 3}}, 0xaa8fda050124dbbcu},
        {"toggles twice", {{{h, b, t, grave}}, {{h, b, t, grave}}}, 0xb5d0bd65a0298f75u},
        {"zoom stops at magnification 1", {{{multiply}, 40}}, 0xb362a4741dbaf780u},
        {"zoom on after release", {{{multiply}, 40}, {{}}, {{multiply}, 2}}, 0xae9306bf5346f324u},
        {"zoom out, keypad 5", {{{divide}, 10}, {{numpad5}}}, 0x4a14992275ca1c78u},
        {"zoom out, slash", {{{divide}, 10}, {{slash}}}, 0xaa65c1afe148a694u},
        {"wheel", {{{}, 1, 0, 0, 0, 3}, {{}, 2, 0, 0, 0, -1}}, 0x917d35b4cf39cc64u},
        {"free flight",
         {{{g}}, {{up}, 5}, {{up, rshift}, 2}, {{left, lshift}}, {{rcontrol}}, {{numpad0, down}}},
         0xcaad7a3a33f873c6u},
        {"thrust in orbit", {{{left}, 10}, {{up, right}, 3}}, 0xe9ca57f03b586f92u},
        {"thrust stopped", {{{left}, 10}, {{space}}}, 0xd530fb76322dd927u},
        {"back home", {{{g}}, {{up}, 4}, {{h}}, {{slash}}}, 0xf4b744f2b91e6187u},
        {"centre", {{{c}}}, 0x18e68063af50bfcbu},
        {"down", {{{d}}}, 0x51659fa3c267a139u},
        {"north", {{{n}}}, 0x2353bd6f8a46cec0u},
        {"south", {{{s}}}, 0xf4b744f2b91e6187u},
        {"east", {{{e}}}, 0xfad187859bbeb508u},
        {"west", {{{w}}}, 0x72bede177b415409u},
        {"random places", {{{r}}, {{r}}}, 0xfc212a2e2f64b7bau},
        {"spin", {{{period}, 4}, {{comma, lshift}, 2}, {{period, rshift}}}, 0x71587103711e3bd9u},
        {"mouse", {{{}, 5, 30, -10}, {{}, 3, 10, 5, 2}}, 0xf66ba686625912ecu},
        {"mouse, the left button held while turning", {{{}, 5, 30, -10, 1}, {{}, 3, 10, 5, 2}}, 0xf66ba686625912ecu},
        {"mouse without levelling", {{{a}}, {{}, 5, 20, 8}}, 0x989446851c37c3a5u},
        {"minutes", {{{equals}, 3}, {{lshift, minus}, 2}}, 0x98fae6054a773a04u},
        {"days and years", {{{lalt, minus}}, {{ralt, rbracket}}, {{lalt, lshift, lbracket}}}, 0x30d8644e9fc8cf3u},
        {"date step into daylight time", {{{rbracket}}}, 0x77659e94839b5cccu},
        {"sidereal day", {{{rshift, rbracket}}}, 0xf64aec779b746887u},
        {"date steps held", {{{lbracket}, 3}, {{lshift, rbracket}, 2}}, 0x14ec6ee86e3fc572u},
        {"up", {{{z}}}, 0xf5dfd79c389173c6u, far_out},
        {"moon tracked", {{{key1 + moon_index}, 2}}, 0xa3c481a271194432u, far_out},
        {"sun tracked over a digit", {{{key1 + 2, key0}}}, 0x296284af5205bd5bu, far_out},
        {"far side, no labels", {{{t, grave}}}, 0x9cf901baa0855693u, far_out},
        {"caps lock fill", {{{capital}, 2}}, 0xcaf7168e536ce0e5u, far_out},
        {"sun below the ground is hidden", {{{}}}, 0x5703bbe41ca57baeu, under_the_sun},
        {"sun overhead is shown", {{{}}}, 0xeec64f6fd2199747u, under_the_sun_by_day},
        {"night", {{{c, i}}}, 0xb036fbd982e0bb96u, far_out_textured},
        {"night twice is day", {{{c, i}}, {{i}}}, 0xf88952204a451a96u, far_out_textured},
        {"centre from far", {{{c}}, {{}}}, 0xf88952204a451a96u, far_out_textured},
        {"fallen to the floor", {{{}, 300}}, 0xb89bf5c20fc3d144u, above_the_floor},
    };
    for (const Case& c : cases) play(c);
}
