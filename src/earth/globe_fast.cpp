#include "earth/globe.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "core/workers.h"
#include "earth/globe_texel.h"

namespace {

// Rows per piece of work: as many as the kernels take side by side, which is
// few enough to balance the disc's long middle rows against its short ones.
constexpr int32_t rows_per_chunk = RowRays::lanes;

// One worker's room for eight rows' results. The exact rays are written only
// for the rare pixels that need them, so they are left uninitialised.
struct RowScratch {
    std::vector<int32_t> texel;
    std::unique_ptr<double[]> exact_rays;

    explicit RowScratch(int32_t xres)
    {
        const auto n = static_cast<size_t>(xres + 2) * RowRays::lanes;
        texel.resize(n);
        exact_rays.reset(new double[3 * n]);
    }
};

// Where a lane's results go: its row from column x0 on.
struct LaneRow {
    uint8_t* out = nullptr;
    int32_t x0 = 0;
};

struct FastGlobe {
    const Camera& view;
    const Sampler sampler;
    RowKernel kernel;
    double lift = dot(view.viewpos, view.viewpos) - 1;

    // Clears rows [begin, end) around their spans and draws the spans, a row
    // to a lane; each lane starts from the exact path's first ray and steps
    // as it does, so that every ray is the exact path's ray.
    void draw_rows(RowScratch& s, const FrameBuffer& frame, const Spans& spans, bool picture, int32_t begin,
                   int32_t end) const
    {
        const Vec3 e = view.viewpos;
        const Texture& t = sampler.texture;
        RowRays rays{{},
                     {},
                     {},
                     {},
                     0,
                     view.viewright.x,
                     view.viewright.y,
                     view.viewright.z,
                     e.x,
                     e.y,
                     e.z,
                     lift,
                     sampler.u_scale,
                     sampler.v_scale,
                     t.pic_width,
                     t.pic_height,
                     s.texel.data(),
                     s.exact_rays.get()};
        LaneRow lanes[RowRays::lanes];
        int32_t used = 0;
        for (int32_t y = begin; y < end; ++y) {
            int32_t x0 = 0, x1 = 0;
            if (!clear_around_span(frame, spans, picture, y, x0, x1)) continue;
            const Vec3 dir = pixel_ray(view, x0, y);
            rays.x[used] = dir.x;
            rays.y[used] = dir.y;
            rays.z[used] = dir.z;
            rays.count[used] = x1 - x0;
            rays.steps = std::max(rays.steps, x1 - x0);
            lanes[used++] = {frame.row(y), x0};
        }
        if (used == 0) return;
        kernel(rays);
        for (int32_t j = 0; j < used; ++j) draw_lane(s, j, rays.count[j], lanes[j].out + lanes[j].x0);
    }

    void draw_lane(const RowScratch& s, int32_t lane, int32_t count, uint8_t* out) const
    {
        const Vec3 e = view.viewpos;
        for (int32_t i = 0; i < count; ++i) {
            const auto k = static_cast<size_t>(i) * RowRays::lanes + static_cast<size_t>(lane);
            const int32_t texel = s.texel[k];
            if (texel >= 0) {
                out[i] = sampler.texture.pic[static_cast<size_t>(texel)];
            } else if (texel == RowRays::miss) {
                out[i] = 0;
            } else {
                const double* ray = &s.exact_rays[3 * k];
                const Vec3 dir{ray[0], ray[1], ray[2]};
                double t = 0;
                out[i] = nearer_hit(e, lift, dir, t) ? sampler.at(e + dir * t) : 0;
            }
        }
    }
};

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

void texglobe(const Camera& view, const FrameBuffer& frame, const Spans& spans, const Texture& texture, int32_t workers,
              RowKernel kernel)
{
    const bool picture = has_picture(texture);
    if (picture && !indexable(texture)) {
        texglobe_exact(view, frame, spans, texture);
        return;
    }
    const FastGlobe globe{view, Sampler{texture}, kernel};
    Chunks rows{frame.frame_yres, rows_per_chunk};
    run_workers(workers, [&] {
        RowScratch scratch(frame.frame_xres);
        int32_t begin = 0, end = 0;
        while (rows.take(begin, end)) globe.draw_rows(scratch, frame, spans, picture, begin, end);
    });
}
