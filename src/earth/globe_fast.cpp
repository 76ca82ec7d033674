#include "earth/globe.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "core/workers.h"
#include "earth/globe_texel.h"

namespace {

// Rows per piece of work: as many as the kernels take side by side, which is
// few enough to balance the disc's long middle rows against its short ones.
constexpr int32_t rows_per_chunk = RowRays::lanes;

// One worker's room for the pixels of eight rows left to the exact path,
// written only for the rare pixels that need it, so left uninitialised.
struct RowScratch {
    std::unique_ptr<int32_t[]> exact_at;
    std::unique_ptr<double[]> exact_rays;

    explicit RowScratch(int32_t xres)
    {
        const auto n = static_cast<size_t>(xres + 2) * RowRays::lanes;
        exact_at.reset(new int32_t[n]);
        exact_rays.reset(new double[3 * n]);
    }
};

struct FastGlobe {
    const Camera& view;
    const Sampler sampler;
    RowKernel kernel;
    const GlobeScene scene;

    // Clears rows [begin, end) around their spans and draws the spans, a row
    // to a lane; each lane starts from the exact path's first ray and steps
    // as it does, so that every ray is the exact path's ray. Returns how
    // many pixels the exact path drew.
    int32_t draw_rows(RowScratch& s, const FrameBuffer& frame, const Spans& spans, bool picture, int32_t begin,
                      int32_t end) const
    {
        RowRays rays{};
        RowPixels pixels{{}, s.exact_at.get(), s.exact_rays.get(), 0};
        int32_t used = 0;
        for (int32_t y = begin; y < end; ++y) {
            int32_t x0{}, x1{};
            if (!clear_around_span(frame, spans, picture, y, x0, x1)) continue;
            const Vec3 dir = pixel_ray(view, x0, y);
            rays.x[used] = dir.x;
            rays.y[used] = dir.y;
            rays.z[used] = dir.z;
            rays.count[used] = x1 - x0;
            rays.steps = std::max(rays.steps, x1 - x0);
            pixels.out[used++] = frame.row(y) + x0;
        }
        if (used == 0) return 0;
        kernel(scene, rays, pixels);
        const Vec3 e = view.viewpos;
        for (int32_t i = 0; i < pixels.exact_count; ++i) {
            const int32_t at = s.exact_at[static_cast<size_t>(i)];
            const double* ray = &s.exact_rays[3 * static_cast<size_t>(i)];
            const Vec3 dir{ray[0], ray[1], ray[2]};
            double hit{};
            pixels.out[at % RowRays::lanes][at / RowRays::lanes] =
                nearer_hit(e, scene.lift, dir, hit) ? exact_pixel(sampler, scene, e + dir * hit) : 0;
        }
        return pixels.exact_count;
    }
};

// The sine of a latitude band's edge, one float further into the band than
// its rounding: past every rounding of the exact path's asin and scaling,
// which are a float's ulp smaller still. An edge beyond a pole is the pole.
float band_edge(double angle, float inwards)
{
    const double quarter = std::numbers::pi / 2;
    return std::nextafter(static_cast<float>(std::sin(std::clamp(angle, -quarter, quarter))), inwards);
}

// The scene's bands: a truncated latitude v covers [v, v + 1) rows' worth
// of angle above the equator, (v - 1, v] below it, and (-1, 1) at v = 0.
std::vector<float> latitude_bands(const Sampler& sampler)
{
    const int32_t top = sampler.texture.pic_height / 2 + 1;
    std::vector<float> bands;
    for (int32_t v = -top; v <= top; ++v) {
        bands.push_back(band_edge((v > 0 ? v : v - 1) / sampler.v_scale, 2.0f));
        bands.push_back(band_edge((v < 0 ? v : v + 1) / sampler.v_scale, -2.0f));
    }
    return bands;
}

// The kernels index the picture in 32 bits.
bool indexable(const Texture& t)
{
    return static_cast<int64_t>(t.pic_width) * t.pic_height <= std::numeric_limits<int32_t>::max();
}

}  // namespace

RowKernel best_row_kernel()
{
    return usable_row_kernels().front();
}

int64_t texglobe(const Camera& view, const FrameBuffer& frame, const Spans& spans, const Texture& texture,
                 const Daylight& day, WorkerPool& workers, RowKernel kernel)
{
    const bool picture = has_picture(texture);
    if (picture && !indexable(texture)) {
        texglobe_exact(view, frame, spans, texture, day);
        return int64_t{frame.frame_xres} * frame.frame_yres;
    }
    const Sampler sampler{texture};
    const std::vector<float> bands = latitude_bands(sampler);
    GlobeScene scene = scene_of(view, sampler, day);
    scene.bands = bands.data();
    const FastGlobe globe{view, sampler, kernel, scene};
    Chunks rows{frame.frame_yres, rows_per_chunk};
    std::atomic<int64_t> exact{0};
    workers.run(workers.size(), [&] {
        RowScratch scratch(frame.frame_xres);
        int32_t begin{}, end{};
        int64_t drawn = 0;
        while (rows.take(begin, end)) drawn += globe.draw_rows(scratch, frame, spans, picture, begin, end);
        exact += drawn;
    });
    return exact;
}
