// The map data on the shipped files: loading both files, the point-in-land
// test away from and near the date line, and the border lines over a frame
// of 640 x 480 with and without the far side.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bench_frame.h"
#include "app/view_ops.h"
#include "earth/border_lines.h"
#include "earth/borders.h"
#include "earth/inland.h"
#include "earth/shore.h"

namespace {

const std::string data_dir = GLOBE_SOURCE_DATA_DIR;

void BM_LoadShore(benchmark::State& state)
{
    for (auto _ : state) {
        Shore shore;
        benchmark::DoNotOptimize(loadshore(data_dir + "/SHOREX.DAT", shore).ok());
    }
}
BENCHMARK(BM_LoadShore)->Unit(benchmark::kMillisecond);

void BM_LoadBords(benchmark::State& state)
{
    for (auto _ : state) {
        Borders borders;
        benchmark::DoNotOptimize(loadbords(data_dir + "/BORDX.DAT", borders).ok());
    }
}
BENCHMARK(BM_LoadBords)->Unit(benchmark::kMillisecond);

// Arg 0: anywhere; arg 1: within 5 degrees of the date line (both end walks).
void BM_Inland(benchmark::State& state)
{
    Shore shore;
    loadshore(data_dir + "/SHOREX.DAT", shore);
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> uni(-1, 1);
    std::vector<Vec3> points;
    for (int i = 0; i < 1024; ++i) {
        const double lon = state.range(0) ? M_PI - uni(rng) * (5 * M_PI / 180) : uni(rng) * M_PI;
        const double lat = std::asin(uni(rng));
        points.push_back({std::sin(lon) * std::cos(lat), std::sin(lat), -std::cos(lat) * std::cos(lon)});
    }
    size_t i = 0;
    for (auto _ : state) {
        const Vec3& p = points[i++ % points.size()];
        benchmark::DoNotOptimize(inland(shore, p.x, p.y, p.z));
    }
}
BENCHMARK(BM_Inland)->Arg(0)->Arg(1);

// Arg: far_side_lines. The whole disc from 3 radii over Europe.
void BM_DrawBords(benchmark::State& state)
{
    Borders borders;
    loadbords(data_dir + "/BORDX.DAT", borders);
    BenchFrame canvas(640, 480);
    const FrameBuffer& frame = canvas.frame;
    Camera view;
    view.xres_half = 320;
    view.yres_half = 240;
    set_zoom(view, 640);
    view.viewpos = Vec3{0.2, -0.7, -0.68} * (3 / length(Vec3{0.2, -0.7, -0.68}));
    view_look_at(view, -view.viewpos.x, -view.viewpos.y, -view.viewpos.z);
    for (auto _ : state) drawbords(view, frame, borders, state.range(0) != 0);
}
BENCHMARK(BM_DrawBords)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
