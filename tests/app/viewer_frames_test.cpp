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
    app.view.texture_loaded = app.view.orbit_mode = app.view.auto_level = 0;
    const Vec3 sun = body_direction(sun_index, app.time.instant, app.view.camera.viewpos);
    app.view.camera.viewpos = sun * (side * (earth_radius_miles + 300) / earth_radius_miles / length(sun));
    view_look_at(app.view.camera, sun.x, sun.y, sun.z);
}
void under_the_sun(App& app) { sun_from(app, -1); }
void under_the_sun_by_day(App& app) { sun_from(app, 1); }
// Three radii out, the globe drawn from the shorelines under the sky.
void far_out(App& app)
{
    app.view.texture_loaded = 0;
    app.view.camera.viewpos = {1, -2, 2};
}
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
            HeadlessPlatform::FrameInput in{{}, s.dx, s.dy, s.buttons, s.wheel};
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
        {"home", {{{}, 2}}, 0xbea15f0d8d7b3b7u},
        {"toggles act once per press", {{{h, b, t, grave}, 3}}, 0x55327f023773d6eu},
        {"toggles twice", {{{h, b, t, grave}}, {{h, b, t, grave}}}, 0xbea15f0d8d7b3b7u},
        {"zoom stops at magnification 1", {{{multiply}, 40}}, 0xe79b1bbb9a302ad1u},
        {"zoom on after release", {{{multiply}, 40}, {{}}, {{multiply}, 2}}, 0xf692ce1717ccec1u},
        {"zoom out, keypad 5", {{{divide}, 10}, {{numpad5}}}, 0x388bf110496f51ddu},
        {"zoom out, slash", {{{divide}, 10}, {{slash}}}, 0xd6d4e4fd8cf58f08u},
        {"wheel", {{{}, 1, 0, 0, 0, 3}, {{}, 2, 0, 0, 0, -1}}, 0x3e9ffdd1364dd986u},
        {"free flight",
         {{{g}}, {{up}, 5}, {{up, rshift}, 2}, {{left, lshift}}, {{rcontrol}}, {{numpad0, down}}},
         0xcaad7a3a33f873c6u},
        {"thrust in orbit", {{{left}, 10}, {{up, right}, 3}}, 0x95530008feb13fc6u},
        {"thrust stopped", {{{left}, 10}, {{space}}}, 0x5b3e39c25bdb04f6u},
        {"back home", {{{g}}, {{up}, 4}, {{h}}, {{slash}}}, 0x5215a3db9a6ac2e3u},
        {"centre", {{{c}}}, 0x37ff36079b7941ffu},
        {"down", {{{d}}}, 0x31c01467b5be2b21u},
        {"north", {{{n}}}, 0x70045ea95aff50cu},
        {"south", {{{s}}}, 0x5215a3db9a6ac2e3u},
        {"east", {{{e}}}, 0xf6d35355d4be2224u},
        {"west", {{{w}}}, 0x4d32adb6e989e5d5u},
        {"random places", {{{r}}, {{r}}}, 0x7726e3e7ea0508a4u},
        {"spin", {{{period}, 4}, {{comma, lshift}, 2}, {{period, rshift}}}, 0x36fc4fc8edb1affcu},
        {"mouse", {{{}, 5, 30, -10}, {{}, 3, 10, 5, 2}}, 0xd35c6aca7c086031u},
        {"mouse without levelling", {{{a}}, {{}, 5, 20, 8}}, 0xa2141cd7ba36fabdu},
        {"minutes", {{{equals}, 3}, {{lshift, minus}, 2}}, 0x1f3cc20c2833d6b1u},
        {"days and years", {{{lalt, minus}}, {{ralt, rbracket}}, {{lalt, lshift, lbracket}}}, 0xfea61d1194887c09u},
        {"date step into daylight time", {{{rbracket}}}, 0xd80cd459e12d3e80u},
        {"sidereal day", {{{rshift, rbracket}}}, 0x53a94b607cc0c9e3u},
        {"date steps held", {{{lbracket}, 3}, {{lshift, rbracket}, 2}}, 0x524cdd18a8ee72a7u},
        {"up", {{{z}}}, 0x8feb776c8475721bu, far_out},
        {"moon tracked", {{{key1 + moon_index}, 2}}, 0x68b751af15405c90u, far_out},
        {"sun tracked over a digit", {{{key1 + 2, key0}}}, 0xe8b6500ffdeea046u, far_out},
        {"far side, no labels", {{{t, grave}}}, 0x2c902b92834f1c91u, far_out},
        {"caps lock fill", {{{capital}, 2}}, 0x8462e2329f647dd8u, far_out},
        {"sun below the ground is hidden", {{{}}}, 0x5703bbe41ca57baeu, under_the_sun},
        {"sun overhead is shown", {{{}}}, 0xeec64f6fd2199747u, under_the_sun_by_day},
        {"fallen to the floor", {{{}, 300}}, 0x1e7fa35a4ef81d50u, above_the_floor},
    };
    for (const Case& c : cases) play(c);
}
