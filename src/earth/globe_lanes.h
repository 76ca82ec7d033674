#pragma once
#include <cstdint>
#include <vector>

// The fast path's inner loop over eight rows of the textured globe, compiled
// once for each vector width; each copy runs only on a processor that has it.

// Eight rows side by side, a lane each: each lane's first ray (the exact
// path's), how many rays its row has, and the step to a row's next ray, which
// the kernel adds lane by lane just as the exact path adds it. Step i of lane
// j draws pixel out[j][i]: the texel its ray meets, or 0 for a ray that
// misses the sphere. A pixel whose approximate angles lie too near a texel
// edge for their error bound is left for the exact path: its index
// i * lanes + j goes to exact_at and its ray to exact_rays, and exact_count
// counts them; both arrays have room for every pixel.
struct RowRays {
    static constexpr int32_t lanes = 8;

    double x[lanes], y[lanes], z[lanes];
    int32_t count[lanes];
    int32_t steps;
    double rx, ry, rz;
    double ex, ey, ez, lift;
    double u_scale, v_scale;
    int32_t w, h;
    const uint8_t* pic;
    uint8_t* out[lanes];
    int32_t* exact_at;
    double* exact_rays;
    int32_t* exact_count;
};

using RowKernel = void (*)(const RowRays&);

void row_texels_avx512(const RowRays& rays);
void row_texels_avx2(const RowRays& rays);
void row_texels_sse2(const RowRays& rays);
// Where there are no vector kernels (the browser): every ray is left to the
// exact path.
void row_texels_portable(const RowRays& rays);

// The kernels this processor runs, widest first; the last runs everywhere:
// the baseline of x86-64, or the portable one in the browser.
std::vector<RowKernel> usable_row_kernels();
RowKernel best_row_kernel();
