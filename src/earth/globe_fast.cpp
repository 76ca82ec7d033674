#include "earth/globe.h"

#include <limits>
#include <vector>

#include "core/workers.h"
#include "earth/globe_texel.h"

namespace {

// Rows per piece of work: small enough to balance the disc's long middle rows
// against its short ones, large enough to keep the threads apart.
constexpr int32_t rows_per_chunk = 8;

// One worker's room for a row's rays.
struct RowScratch {
    std::vector<double> dx, dy, dz;
    std::vector<int32_t> texel;

    explicit RowScratch(int32_t xres)
    {
        const auto n = static_cast<size_t>(xres + RowRays::pad);
        dx.resize(n);
        dy.resize(n);
        dz.resize(n);
        texel.resize(n);
    }
};

struct FastGlobe {
    const Camera& view;
    const Sampler sampler;
    RowKernel kernel;
    double lift = dot(view.viewpos, view.viewpos) - 1;

    // The directions advance pixel by pixel as in the exact path, so that
    // every ray is the exact path's ray.
    void draw_span(RowScratch& s, int32_t y, int32_t x0, int32_t x1, uint8_t* out) const
    {
        const int32_t n = x1 - x0;
        Vec3 dir = pixel_ray(view, x0, y);
        for (int32_t i = 0; i < n; ++i, dir = dir + view.viewright) {
            const auto k = static_cast<size_t>(i);
            s.dx[k] = dir.x;
            s.dy[k] = dir.y;
            s.dz[k] = dir.z;
        }
        const int32_t padded = (n + RowRays::pad - 1) / RowRays::pad * RowRays::pad;
        for (int32_t i = n; i < padded; ++i) {
            const auto k = static_cast<size_t>(i);
            s.dx[k] = s.dy[k] = s.dz[k] = 0;
        }
        const Vec3 e = view.viewpos;
        const Texture& t = sampler.texture;
        kernel({s.dx.data(), s.dy.data(), s.dz.data(), s.texel.data(), padded, e.x, e.y, e.z, lift, sampler.u_scale,
                sampler.v_scale, t.pic_width, t.pic_height});
        for (int32_t i = 0; i < n; ++i) {
            const auto k = static_cast<size_t>(i);
            const int32_t texel = s.texel[k];
            uint8_t& pixel = out[x0 + i];
            if (texel >= 0) {
                pixel = t.pic[static_cast<size_t>(texel)];
            } else if (texel == RowRays::miss) {
                pixel = 0;
            } else {
                const Vec3 dir{s.dx[k], s.dy[k], s.dz[k]};
                double t = 0;
                pixel = nearer_hit(e, lift, dir, t) ? sampler.at(e + dir * t) : 0;
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

void texglobe(const Camera& view, const FrameBuffer& frame, const Spans& spans, const Texture& texture,
              int32_t workers, RowKernel kernel)
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
        while (rows.take(begin, end)) {
            for (int32_t y = begin; y < end; ++y) {
                int32_t x0 = 0, x1 = 0;
                if (clear_around_span(frame, spans, picture, y, x0, x1))
                    globe.draw_span(scratch, y, x0, x1, frame.row(y));
            }
        }
    });
}
