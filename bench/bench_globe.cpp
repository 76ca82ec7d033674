// The textured globe over the shipped globe.gif: disc spans, then one ray per
// pixel, for the start view, the whole disc from 3 Earth radii and a close
// view whose disc fills the screen.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "bench_frame.h"
#include "core/constants.h"
#include "earth/globe.h"
#include "raster/gif.h"

namespace {

constexpr double deg = 3.141592653589793 / 180;

const Texture& shipped_texture()
{
    static const Texture texture = [] {
        Texture t;
        Palette palette;
        std::string message;
        loadgif(std::string(GLOBE_SOURCE_DATA_DIR) + "/globe.gif", t, palette, message);
        return t;
    }();
    return texture;
}

// Latitude north positive; the frame's own latitude is negative in the north.
Vec3 geo(double lat, double lon)
{
    const double phi = -lat * deg, lam = lon * deg;
    return {std::sin(lam) * std::cos(phi), std::sin(phi), -std::cos(phi) * std::cos(lam)};
}

Vec3 unit(Vec3 v)
{
    return v * (1 / length(v));
}

// The projection at magnification 1 for a w x h frame.
void set_projection(Camera& v, int32_t w, int32_t h)
{
    v.xres_half = w * 0.5;
    v.yres_half = h * 0.5;
    v.zoom = w;
    v.zoom_half = v.zoom * 0.5;
    v.corner_dist2 = v.zoom_half * v.zoom_half + v.yres_half * v.yres_half + v.xres_half * v.xres_half;
}

Camera make_view(int which, int32_t w, int32_t h)
{
    Camera v;
    set_projection(v, w, h);
    if (which == 0) {
        // Home, 5 miles up, level and facing south.
        const Vec3 up = geo(41.6611, -71.4845);
        const Vec3 east = unit({-up.z, 0, up.x});
        v.viewpos = up * lowest_eye_dist;
        v.viewright = -east;
        v.viewdown = -up;
        v.viewfwd = cross(v.viewright, v.viewdown);
        return v;
    }
    // Looking at the centre, north up: the whole disc from 3 Earth radii, or
    // from 1.25, where the disc is wider than the screen.
    const Vec3 up = which == 1 ? geo(30, 0) : geo(45, 10);
    v.viewpos = up * (which == 1 ? 3 : 1.25);
    v.viewfwd = -up;
    v.viewright = unit(cross(Vec3{0, 1, 0}, v.viewfwd));
    v.viewdown = cross(v.viewfwd, v.viewright);
    return v;
}

void BM_TexturedGlobe(benchmark::State& state)
{
    const Texture& texture = shipped_texture();
    if (texture.pic.empty()) {
        state.SkipWithError("data/globe.gif could not be loaded");
        return;
    }
    const auto w = static_cast<int32_t>(state.range(0));
    const auto h = static_cast<int32_t>(state.range(1));
    const Camera view = make_view(static_cast<int>(state.range(2)), w, h);
    BenchFrame canvas(w, h);
    const FrameBuffer& frame = canvas.frame;
    Spans& spans = canvas.spans;

    for (auto _ : state) {
        globespans(view, frame, spans);
        texglobe(view, frame, spans, texture);
        benchmark::DoNotOptimize(canvas.pixels.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

// Arguments: width, height, view (0 home, 1 whole disc, 2 close).
BENCHMARK(BM_TexturedGlobe)
    ->ArgsProduct({{640}, {480}, {0, 1, 2}})
    ->ArgsProduct({{1920}, {1080}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
