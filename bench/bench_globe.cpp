// The textured globe over the shipped globe.gif, the exact per-pixel path and
// the fast one side by side: the disc filling the screen (30 N 10 E, 1500
// miles up, looking at the centre), the home view (5 miles up, facing south)
// and the whole disc from 8000 miles. The fast path again with day and night,
// the terminator across the middle of the disc and the shipped city lights.
// And the float kernel that the web page runs, on one core.
#include <benchmark/benchmark.h>

#include <string>

#include "app/view_ops.h"
#include "bench_frame.h"
#include "core/constants.h"
#include "core/workers.h"
#include "earth/globe.h"
#include "raster/gif.h"

namespace {

struct Shipped {
    Texture texture;
    GlobeLight light;
};

const Shipped& shipped()
{
    static const Shipped data = [] {
        Shipped s;
        Palette palette{}, lights_palette{};
        Texture lights;
        GifInfo info;
        loadgif(std::string(GLOBE_SOURCE_DATA_DIR) + "/globe.gif", s.texture, palette, info);
        loadgif(std::string(GLOBE_SOURCE_DATA_DIR) + "/lights.gif", lights, lights_palette, info);
        s.light = globe_light(palette);
        s.light.grades = grade_lights(lights, lights_palette, s.texture);
        return s;
    }();
    return data;
}

Camera make_view(int which, int32_t w, int32_t h)
{
    const double miles = which == 0 ? 1500 : which == 1 ? 5 : 8000;
    const Vec3 ground = which == 1 ? position_at(home_lat, home_lon) : position_at_degrees(30, 10);
    Camera v;
    v.viewpos = ground * ((earth_radius_miles + miles) / earth_radius_miles);
    v.xres_half = w * 0.5;
    v.yres_half = h * 0.5;
    set_zoom(v, w);
    view_south(v);
    if (which != 1) view_centre(v);
    return v;
}

// Square to the eye, so that the terminator crosses the middle of the disc.
Daylight daylight(const Camera& view, const GlobeLight& light)
{
    const Vec3 sun = cross(view.viewpos, view.viewright);
    return {sun * (1 / length(sun)), &light};
}

template <bool fast, bool night = false, bool web_kernel = false>
void BM_TexturedGlobe(benchmark::State& state)
{
    const Texture& texture = shipped().texture;
    if (texture.pic.empty()) {
        state.SkipWithError("data/globe.gif could not be loaded");
        return;
    }
    const auto w = static_cast<int32_t>(state.range(0));
    const auto h = static_cast<int32_t>(state.range(1));
    const Camera view = make_view(static_cast<int>(state.range(2)), w, h);
    BenchFrame canvas(w, h);
    WorkerPool workers(web_kernel ? 1 : core_count());
    const RowKernel kernel = web_kernel ? row_texels_float : best_row_kernel();
    const Daylight day = night ? daylight(view, shipped().light) : Daylight{};
    for (auto _ : state) {
        globespans(view, canvas.frame, canvas.spans);
        if (fast)
            texglobe(view, canvas.frame, canvas.spans, texture, day, workers, kernel);
        else
            texglobe_exact(view, canvas.frame, canvas.spans, texture, day);
        benchmark::DoNotOptimize(canvas.pixels.data());
        benchmark::ClobberMemory();
    }
}

// Arguments: width, height, view (0 disc filling the screen, 1 home, 2 whole disc).
void sizes(benchmark::internal::Benchmark* b)
{
    b->ArgsProduct({{640}, {480}, {0, 1, 2}})
        ->ArgsProduct({{1920}, {1080}, {0, 1, 2}})
        ->ArgsProduct({{3840}, {2160}, {0, 1, 2}})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace

BENCHMARK(BM_TexturedGlobe<false>)->Name("Exact")->Apply(sizes);
BENCHMARK(BM_TexturedGlobe<true>)->Name("Fast")->Apply(sizes);
BENCHMARK(BM_TexturedGlobe<true, true>)->Name("FastNight")->Apply(sizes);
BENCHMARK(BM_TexturedGlobe<true, false, true>)->Name("FloatOneCore")->Apply(sizes);
