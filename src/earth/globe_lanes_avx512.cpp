// Built with -mavx512f; called only where the processor has it.
#include <immintrin.h>
#include <sleef.h>

#include "earth/globe_lanes_kernel.h"

namespace {

struct Avx512Lanes {
    using V = __m512d;
    using F = __m512;
    using I = int32_t __attribute__((vector_size(32)));
    // The masked form spares GCC 12 a false warning about the unmasked one.
    static V sqrt(V x) { return _mm512_mask_sqrt_pd(x, 0xff, x); }
    static V atan2(V y, V x) { return Sleef_atan2d8_u35avx512f(y, x); }
    static V asin(V x) { return Sleef_asind8_u35avx512f(x); }
    static F atan2(F y, F x) { return Sleef_atan2f16_u35avx512f(y, x); }
    // In generic vector code: the intrinsics leave lanes undefined, which
    // GCC 12 warns of.
    using Half = float __attribute__((vector_size(32)));
    static F narrow(V a, V b)
    {
        return __builtin_shufflevector(__builtin_convertvector(a, Half), __builtin_convertvector(b, Half), 0, 1, 2, 3,
                                       4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    }
    static V widen(F f, int32_t half)
    {
        const Half h = half ? __builtin_shufflevector(f, f, 8, 9, 10, 11, 12, 13, 14, 15)
                            : __builtin_shufflevector(f, f, 0, 1, 2, 3, 4, 5, 6, 7);
        return __builtin_convertvector(h, V);
    }
    static bool any(I m) { return !_mm256_testz_si256(__m256i(m), __m256i(m)); }
};

}  // namespace

void row_texels_avx512(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels)
{
    RowKernelBody<Avx512Lanes>::run(scene, rays, pixels);
}
