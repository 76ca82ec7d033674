// The sky over the shipped star catalogue: the start view at night with the
// stars, dots and labels, and the Moon magnified to fill much of the screen;
// and the same behind the textured globe, on its layer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/track.h"
#include "app/view_ops.h"
#include "bench_frame.h"
#include "sky/clock.h"
#include "sky/ephemeris.h"
#include "earth/globe.h"
#include "sky/sky.h"
#include "sky/sky_behind.h"
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
    BenchFrame canvas;
    Camera view;
    TimeState time;
    Scene(int32_t w, int32_t h, bool moon);
};

// 2000 January 1, 03:00 UT: night at the start view, the Moon up in the east.
Scene::Scene(int32_t w, int32_t h, bool moon) : canvas(w, h)
{
    view.xres_half = w * 0.5;
    view.yres_half = h * 0.5;
    set_zoom(view, w);
    view.viewpos = position_at(home_lat, home_lon) * lowest_eye_dist;
    view_south(view);
    time.tzinfo = TimeZoneInfo{};
    set_clock(time, {2000, 1, 1, 3, 0, 0});
    if (moon) {
        const Vec3 m = body_direction(moon_index, time.instant, view.viewpos);
        view_look_at(view, m.x, m.y, m.z);
        set_zoom(view, w * 100.0);
    }
}

void BM_draw_sky(benchmark::State& state)
{
    Scene s(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)), state.range(2) != 0);
    const Stars& stars = shipped_stars();
    for (auto _ : state) {
        draw_sky(s.view, s.canvas.frame, s.canvas.spans, s.time.instant, stars, true);
        benchmark::DoNotOptimize(s.canvas.pixels.data());
    }
    int64_t stars_lit = 0, moon = 0;
    for (uint8_t p : s.canvas.pixels) stars_lit += p > 0 && p < 64, moon += p == 135 || p == 143;
    state.counters["star_pixels"] = static_cast<double>(stars_lit);
    state.counters["moon_pixels"] = static_cast<double>(moon);
}

// The pass that K adds to a frame of the textured globe: the disc's spans
// found again (draw_sky uses them as its work area), the layer, the sky and
// its copy into the frame.
void BM_draw_sky_behind(benchmark::State& state)
{
    Scene s(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)), state.range(2) != 0);
    const Stars& stars = shipped_stars();
    SkyLayer layer;
    for (auto _ : state) {
        globespans(s.view, s.canvas.frame, s.canvas.spans);
        draw_sky_behind(s.view, s.canvas.frame, s.canvas.spans, true, layer, s.time.instant, stars, true);
        benchmark::DoNotOptimize(s.canvas.pixels.data());
    }
}

// Both sizes, with and without the magnified Moon.
void scenes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"width", "height", "moon"})
        ->Args({640, 480, 0})
        ->Args({1920, 1080, 0})
        ->Args({640, 480, 1})
        ->Args({1920, 1080, 1})
        ->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_draw_sky_behind)->Apply(scenes);
BENCHMARK(BM_draw_sky)->Apply(scenes);
