#pragma once
#include <cstdint>
#include <vector>

// The fast path's inner loop over one row of the textured globe, compiled once
// for each vector width; each copy runs only on a processor that has it.

// One run of rays from the eye: their directions, each the exact path's, in
// arrays padded with zero directions (which miss) to a multiple of 8, and
// where to put each ray's result: the index of its texel, or miss for a ray
// that misses the sphere, or exact when the approximate angles lie too near a
// texel edge for their error bound and the pixel must be recomputed exactly.
struct RowRays {
    static constexpr int32_t miss = -1;
    static constexpr int32_t exact = -2;
    static constexpr int32_t pad = 8;

    const double* dx;
    const double* dy;
    const double* dz;
    int32_t* texel;
    int32_t count;
    double ex, ey, ez, lift;
    double u_scale, v_scale;
    int32_t w, h;
};

using RowKernel = void (*)(const RowRays&);

void row_texels_avx512(const RowRays& rays);
void row_texels_avx2(const RowRays& rays);
void row_texels_sse2(const RowRays& rays);
// Where there are no vector kernels (the browser): every ray is left to the
// exact path.
void row_texels_portable(const RowRays& rays);

// The kernels this processor runs, widest first; the last needs only the
// baseline of x86-64.
std::vector<RowKernel> usable_row_kernels();
RowKernel best_row_kernel();
