// The land and sea fill over the shipped shorelines, after the disc spans,
// for the views a user sees most: the start view, the whole disc, a close
// view that fills the screen and a low view over a coast.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "bench_frame.h"
#include "app/view_ops.h"
#include "earth/fill.h"
#include "earth/globe.h"
#include "earth/shore.h"

namespace {

constexpr double deg = 3.141592653589793 / 180;

const Shore& shipped_shore()
{
    static const Shore shore = [] {
        Shore s;
        loadshore(std::string(GLOBE_SOURCE_DATA_DIR) + "/SHOREX.DAT", s);
        return s;
    }();
    return shore;
}

Vec3 geo(double lat, double lon)
{
    const double phi = -lat * deg, lam = lon * deg;
    return {std::sin(lam) * std::cos(phi), std::sin(phi), -std::cos(phi) * std::cos(lam)};
}

void set_frame_size(Camera& v, int32_t w, int32_t h)
{
    v.xres_half = w * 0.5;
    v.yres_half = h * 0.5;
    set_zoom(v, w);
}

Camera make_view(int which, int32_t w, int32_t h)
{
    Camera v;
    set_frame_size(v, w, h);
    if (which == 0) {
        v.viewpos = position_at(home_lat, home_lon) * lowest_eye_dist;
        view_south(v);
        return v;
    }
    struct Eye {
        double lat, lon, dist, tlat, tlon;
    };
    // The whole disc; close enough to fill the screen; low over Italy's coast.
    const Eye eyes[] = {{45, 10, 3, 0, 0}, {48, 5, 1.25, 0, 0}, {44, 12, 1.1, 42, 12.5}};
    const Eye& e = eyes[which - 1];
    v.viewpos = geo(e.lat, e.lon) * e.dist;
    const Vec3 target = e.dist > 1.2 ? Vec3{} : geo(e.tlat, e.tlon);
    const Vec3 dir = target - v.viewpos;
    view_look_at(v, dir.x, dir.y, dir.z);
    return v;
}

void BM_FillGlobe(benchmark::State& state)
{
    const Shore& shore = shipped_shore();
    if (shore.pointcnt() == 0) {
        state.SkipWithError("data/SHOREX.DAT could not be loaded");
        return;
    }
    const auto w = static_cast<int32_t>(state.range(0));
    const auto h = static_cast<int32_t>(state.range(1));
    const Camera view = make_view(static_cast<int>(state.range(2)), w, h);
    BenchFrame canvas(w, h);
    const FrameBuffer& frame = canvas.frame;
    Spans& spans = canvas.spans;
    uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        globespans(view, frame, spans);
        state.ResumeTiming();
        fillglobe(view, false, frame, spans, shore, false, seed);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}

void views(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"w", "h", "view"});
    for (const auto& size : {std::pair{640, 480}, std::pair{1920, 1080}})
        for (int v = 0; v < 4; ++v) b->Args({size.first, size.second, v});
}

}  // namespace

// view: 0 start view (5 miles up, level, south), 1 whole disc from 3 radii,
// 2 filling the screen from 1.25 radii, 3 from 1.1 radii over a coast.
BENCHMARK(BM_FillGlobe)->Apply(views)->Unit(benchmark::kMillisecond)->MinTime(0.5);
