// Presenting a frame on the SDL platform: the palette lookup into 32-bit
// colours on one core and on all of them, and the whole present (lookup,
// texture upload, copy and flip) in a window, at 1920 x 1080 and 3840 x 2160.
// The window needs a display as large; without one those cases are skipped.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/workers.h"
#include "platform/frame_colours.h"
#include "platform/sdl/sdl_platform.h"

namespace {

void sizes(benchmark::internal::Benchmark* b)
{
    b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->UseRealTime();
}

template <bool all_cores>
void BM_ColourFrame(benchmark::State& state)
{
    const auto w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    std::mt19937 rng(1);
    std::vector<uint8_t> frame(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (uint8_t& p : frame) p = static_cast<uint8_t>(rng());
    std::vector<uint32_t> colours(256), out(frame.size());
    for (uint32_t& c : colours) c = rng();
    WorkerPool workers(all_cores ? core_count() : 1);
    for (auto _ : state) {
        colour_frame(frame.data(), w, h, colours.data(), reinterpret_cast<uint8_t*>(out.data()),
                     static_cast<size_t>(w) * sizeof(uint32_t), workers);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}

void BM_Present(benchmark::State& state)
{
    const auto w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    WorkerPool workers(core_count());
    SdlPlatform platform(workers);
    Palette palette;
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
    if (!platform.create_window(w, h, 0) || !platform.initdirectdraw(w, h, palette)) {
        state.SkipWithError("no window of that size");
        return;
    }
    uint8_t* pixels = nullptr;
    int32_t pitch = 0, width = 0, height = 0;
    platform.lockframe(&pixels, &pitch, &width, &height);
    std::mt19937 rng(1);
    for (int32_t i = 0; i < pitch * height; ++i) pixels[i] = static_cast<uint8_t>(rng());
    platform.unlockframe();
    for (auto _ : state) platform.presentframe();
}

}  // namespace

BENCHMARK(BM_ColourFrame<false>)->Name("ColourFrame/one_core")->Apply(sizes);
BENCHMARK(BM_ColourFrame<true>)->Name("ColourFrame/all_cores")->Apply(sizes);
BENCHMARK(BM_Present)->Name("Present")->Apply(sizes);
