// The sky over the shipped star catalogue: the start view at night with the
// stars, dots and labels, and the Moon magnified to fill much of the screen.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/spans.h"
#include "app/view_ops.h"
#include "platform/frame_buffer.h"
#include "sky/clock.h"
#include "sky/ephemeris.h"
#include "sky/sky.h"
#include "sky/stars.h"

namespace {

const Stars& shipped_stars()
{
    static const Stars stars = [] {
        Stars s;
        loadstars(std::string(GLOBE_SOURCE_DATA_DIR) + "/stars.dat", s);
        return s;
    }();
    return stars;
}

struct Scene {
    std::vector<uint8_t> pixels;
    FrameBuffer frame;
    Spans spans;
    View view;
    TimeState time;
};

// 2000 January 1, 03:00 UT: night at the start view, the Moon up in the east.
void make_scene(Scene& s, int32_t w, int32_t h, bool moon)
{
    s.pixels.assign(static_cast<size_t>(w) * h, 0);
    s.frame.frame_ptr = s.pixels.data();
    s.frame.frame_pitch = w;
    s.frame.frame_xres = w;
    s.frame.frame_yres = h;
    for (int32_t y = 0; y < h; ++y) s.frame.row_offset.push_back(y * w);
    s.spans.rows = h;
    s.spans.xp.assign(static_cast<size_t>(h) * Spans::per_row, 0);
    s.spans.xpcnt.assign(static_cast<size_t>(h), 0);
    s.view.xres_half = w * 0.5;
    s.view.yres_half = h * 0.5;
    set_zoom(s.view, w);
    view_reset(s.view, s.time, CivilTime{});
    s.view.viewpos = s.view.viewpos * s.view.min_dist;
    s.time.clock_year = 2000;
    s.time.clock_month = 1;
    s.time.clock_day = 1;
    s.time.clock_hour = 3;
    s.time.tzinfo = TimeZoneInfo{};
    update_time(s.time, 0, CivilTime{});
    if (moon) {
        Vec3 m = moon_position(s.time, s.view.viewpos);
        double c = std::cos(s.time.sidereal_angle), sn = std::sin(s.time.sidereal_angle);
        view_look_at(s.view, m.x * c + m.z * sn, m.y, m.z * c - m.x * sn);
        set_zoom(s.view, w * 100.0);
    }
}

void BM_draw_sky(benchmark::State& state)
{
    Scene s;
    make_scene(s, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)), state.range(2) != 0);
    const Stars& stars = shipped_stars();
    for (auto _ : state) {
        draw_sky(s.view, s.frame, s.spans, s.time, stars);
        benchmark::DoNotOptimize(s.pixels.data());
    }
    int64_t stars_lit = 0, moon = 0;
    for (uint8_t p : s.pixels) stars_lit += p > 0 && p < 64, moon += p == 135 || p == 143;
    state.counters["star_pixels"] = static_cast<double>(stars_lit);
    state.counters["moon_pixels"] = static_cast<double>(moon);
}

}  // namespace

BENCHMARK(BM_draw_sky)
    ->ArgNames({"width", "height", "moon"})
    ->Args({640, 480, 0})
    ->Args({1920, 1080, 0})
    ->Args({640, 480, 1})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMicrosecond);
