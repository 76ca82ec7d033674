// The baseline of x86-64: runs on every processor.
#include <immintrin.h>
#include <sleef.h>

#include "earth/globe_lanes_kernel.h"

namespace {

struct Sse2Lanes {
    using V = __m128d;
    using F = __m128;
    using I = int32_t __attribute__((vector_size(8)));
    static V sqrt(V x) { return _mm_sqrt_pd(x); }
    static V atan2(V y, V x) { return Sleef_atan2d2_u35sse2(y, x); }
    static V asin(V x) { return Sleef_asind2_u35sse2(x); }
    static F atan2(F y, F x) { return Sleef_atan2f4_u35sse2(y, x); }
    static F narrow(V a, V b) { return _mm_movelh_ps(_mm_cvtpd_ps(a), _mm_cvtpd_ps(b)); }
    static V widen(F f, int32_t half) { return _mm_cvtps_pd(half ? _mm_movehl_ps(f, f) : f); }
    static bool any(I m) { return (m[0] | m[1]) != 0; }
};

}  // namespace

void row_texels_sse2(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels)
{
    RowKernelBody<Sse2Lanes>::run(scene, rays, pixels);
}
