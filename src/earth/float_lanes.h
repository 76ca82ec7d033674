#pragma once
// Four floats side by side in the compiler's generic vectors: SSE on x86,
// SIMD128 in the browser (-msimd128), plain code elsewhere. Included only by
// the float kernel and its test; nothing inline from the standard library.
#include <cstdint>

#if defined(__SSE__)
#include <xmmintrin.h>
#elif defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

// In a namespace of each file's own, so that no copy is shared between
// files built for different instruction sets.
namespace float_lanes {
namespace {

using F = float __attribute__((vector_size(16)));
using I = int32_t __attribute__((vector_size(16)));

inline F sqrt(F x)
{
#if defined(__SSE__)
    return _mm_sqrt_ps(x);
#elif defined(__wasm_simd128__)
    return F(wasm_f32x4_sqrt(v128_t(x)));
#else
    return F{__builtin_sqrtf(x[0]), __builtin_sqrtf(x[1]), __builtin_sqrtf(x[2]), __builtin_sqrtf(x[3])};
#endif
}

inline F abs(F x) { return x < 0.0f ? -x : x; }

inline bool all(I m) { return (m[0] & m[1] & m[2] & m[3]) != 0; }

// The largest error of atan2 below, in radians, over all finite arguments
// not both zero: over this sum of roundings (the test measures 3.8e-7). The
// ratio of the smaller magnitude to the larger,
// turned by pi/4 above tan(pi/8), is within an ulp of the true one's (the
// subtraction loses at most one more, as lo > 0.41 hi); the polynomial's
// relative error on [0, tan(pi/8)] is under 2e-7 (3e-8 absolute); the
// additions of pi/4, pi/2 and pi, each of a float pi rounded to within half
// an ulp, add at most 1.5 ulps of pi (3.6e-7) in all; 4.3e-7 together.
constexpr float atan2_error = 0x1p-21f;

// atan2(y, x), the angle of the point (x, y), in (-pi, pi], -pi only for a y
// of -0 and negative x: the smaller magnitude over the larger, its
// arctangent by a short odd polynomial after turning by pi/4 where the ratio
// is over tan(pi/8), then put back into the point's octant.
inline F atan2(F y, F x)
{
    const F ax = abs(x), ay = abs(y);
    const auto steep = ay > ax;
    const F hi = steep ? ay : ax, lo = steep ? ax : ay;
    const auto turned = lo > 0.41421356f * hi;
    const F a = (turned ? lo - hi : lo) / (turned ? lo + hi : hi);
    const F z = a * a;
    // The coefficients of the Cephes library's atanf.
    F r = (((8.05374449538e-2f * z - 1.38776856032e-1f) * z + 1.99777106478e-1f) * z - 3.33329491539e-1f) * z * a + a;
    r = turned ? r + 0.78539816f : r;
    r = steep ? 1.5707963f - r : r;
    r = x < 0.0f ? 3.1415927f - r : r;
    const I sign = I(y) & int32_t(0x80000000u);
    return F(I(r) ^ sign);
}

}  // namespace
}  // namespace float_lanes
