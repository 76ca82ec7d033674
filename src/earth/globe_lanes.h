#pragma once
#include <cstdint>
#include <vector>

// The fast path's inner loop over eight rows of the textured globe, compiled
// once for each vector width; each copy runs only on a processor that has it.
// A kernel reads a GlobeScene and a RowRays and writes only a RowPixels.

// Day and night: the day, six steps of twilight, the night; and the city
// lights' grades, none first.
inline constexpr int32_t light_levels = 8;
inline constexpr int32_t light_grades = 4;

// What stays the same for a whole frame: the step from a row's ray to its
// next one, the eye and its lift (|eye|^2 - 1), and the picture with the
// scales from angles to its texels.
//
// With shades set, day and night: sx, sy, sz is the Sun's direction (unit,
// Earth-fixed), and the sine of the Sun's altitude at a hit p is
// (p.x * sx + p.y * sy) + p.z * sz. The pixel's level is the number of
// bounds (light_levels - 1 sines, descending from the horizon's 0) that the
// sine is not above, and it draws lit_texel. A kernel may compute the sine
// in any way whose error it can bound, as it does the angles: a pixel whose
// sine lies within that bound of a bound goes to the exact path. grades,
// when set, holds the city lights' grade of every texel.
//
// bands, when set, holds for each truncated latitude v from -(h / 2 + 1) to
// h / 2 + 1 two floats, at 2 (v + h / 2 + 1): every y strictly between them
// has an asin that the exact path truncates to v.
struct GlobeScene {
    double rx, ry, rz;
    double ex, ey, ez, lift;
    double u_scale, v_scale;
    int32_t w, h;
    const uint8_t* pic;
    double sx, sy, sz;
    const double* bounds;
    const uint8_t* shades;
    const uint8_t* grades;
    const float* bands;
};

inline int32_t light_level(const GlobeScene& scene, double sine)
{
    int32_t level = 0;
    for (int32_t k = 0; k < light_levels - 1; ++k) level += sine <= scene.bounds[k];
    return level;
}

// Texel t of the picture at a light level: shades[(level * light_grades +
// grade) * 256 + index], the identity by day.
inline uint8_t lit_texel(const GlobeScene& scene, uint64_t t, int32_t level)
{
    if (level == 0) return scene.pic[t];
    const int32_t grade = scene.grades ? scene.grades[t] : 0;
    return scene.shades[(level * light_grades + grade) * 256 + scene.pic[t]];
}

// The texels at truncated angles u and v, lane by lane as the exact path
// finds them: a column past the back meridian wraps to the first, a row past
// a pole stays in the last. The fast path is used only on pictures that
// 32-bit indices reach.
template <class I>
inline I texel_index(const GlobeScene& scene, I u, I v)
{
    I col = u + scene.w / 2;
    col = col < 0 ? 0 : col;
    col = col >= scene.w ? 0 : col;
    I row = v + scene.h / 2;
    row = row < 0 ? 0 : row;
    row = row > scene.h - 1 ? scene.h - 1 : row;
    return row * scene.w + col;
}

// Eight rows side by side, a lane each: each lane's first ray (the exact
// path's), how many rays its row has, and the most any of them has. The
// kernel adds the scene's step lane by lane just as the exact path adds it.
struct RowRays {
    static constexpr int32_t lanes = 8;

    double x[lanes], y[lanes], z[lanes];
    int32_t count[lanes];
    int32_t steps;
};

// Step i of lane j draws pixel out[j][i]: the texel its ray meets (lit, with
// day and night), or 0 for a ray that misses the sphere. A pixel whose
// approximate angles lie too near a texel edge for their error bound, or
// whose sine of the Sun's altitude lies too near a light level's bound, is
// left for the exact path: its index i * lanes + j goes to exact_at and its
// ray to exact_rays, and exact_count counts them; both arrays have room for
// every pixel.
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
