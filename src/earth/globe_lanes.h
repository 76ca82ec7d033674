#pragma once
#include <cstdint>
#include <vector>

// The fast path's inner loop over eight rows of the textured globe, compiled
// once for each vector width; each copy runs only on a processor that has it.
// A kernel reads a GlobeScene and a RowRays and writes only a RowPixels.

// What stays the same for a whole frame: the step from a row's ray to its
// next one, the eye and its lift (|eye|^2 - 1), and the picture with the
// scales from angles to its texels.
struct GlobeScene {
    double rx, ry, rz;
    double ex, ey, ez, lift;
    double u_scale, v_scale;
    int32_t w, h;
    const uint8_t* pic;
};

// Eight rows side by side, a lane each: each lane's first ray (the exact
// path's), how many rays its row has, and the most any of them has. The
// kernel adds the scene's step lane by lane just as the exact path adds it.
struct RowRays {
    static constexpr int32_t lanes = 8;

    double x[lanes], y[lanes], z[lanes];
    int32_t count[lanes];
    int32_t steps;
};

// Step i of lane j draws pixel out[j][i]: the texel its ray meets, or 0 for
// a ray that misses the sphere. A pixel whose approximate angles lie too near
// a texel edge for their error bound is left for the exact path: its index
// i * lanes + j goes to exact_at and its ray to exact_rays, and exact_count
// counts them; both arrays have room for every pixel.
struct RowPixels {
    uint8_t* out[RowRays::lanes];
    int32_t* exact_at;
    double* exact_rays;
    int32_t exact_count;
};

using RowKernel = void (*)(const GlobeScene&, const RowRays&, RowPixels&);

void row_texels_avx512(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels);
void row_texels_avx2(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels);
void row_texels_sse2(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels);
// Single precision throughout, four pixels of a row at a time, in the
// compiler's generic vectors: SSE on x86, SIMD128 in the browser.
void row_texels_float(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels);

// The kernels this processor runs, the best first; the last is the one every
// processor of the build's target runs.
std::vector<RowKernel> usable_row_kernels();
// The widest of them, asked of the processor once, at start-up.
RowKernel best_row_kernel();
