// Built with -mavx2 -mfma; called only where the processor has both.
#include <immintrin.h>
#include <sleef.h>

#include "earth/globe_lanes_kernel.h"

namespace {

struct Avx2Lanes {
    using V = __m256d;
    using F = __m256;
    using I = int32_t __attribute__((vector_size(16)));
    static V sqrt(V x) { return _mm256_sqrt_pd(x); }
    static V atan2(V y, V x) { return Sleef_atan2d4_u35avx2(y, x); }
    static V asin(V x) { return Sleef_asind4_u35avx2(x); }
    static F atan2(F y, F x) { return Sleef_atan2f8_u35avx2(y, x); }
    static F narrow(V a, V b) { return _mm256_set_m128(_mm256_cvtpd_ps(b), _mm256_cvtpd_ps(a)); }
    static V widen(F f, int32_t half)
    {
        return _mm256_cvtps_pd(half ? _mm256_extractf128_ps(f, 1) : _mm256_castps256_ps128(f));
    }
    static bool any(I m) { return !_mm_testz_si128(__m128i(m), __m128i(m)); }
};

}  // namespace

void row_texels_avx2(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels)
{
    RowKernelBody<Avx2Lanes>::run(scene, rays, pixels);
}
