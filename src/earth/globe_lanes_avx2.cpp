// Built with -mavx2 -mfma; called only where the processor has both.
#include <immintrin.h>
#include <sleef.h>

#include "earth/globe_lanes_kernel.h"

namespace {

struct Avx2Lanes {
    using V = __m256d;
    using I = int32_t __attribute__((vector_size(16)));
    static V sqrt(V x) { return _mm256_sqrt_pd(x); }
    static V atan2(V y, V x) { return Sleef_atan2d4_u35avx2(y, x); }
    static V asin(V x) { return Sleef_asind4_u35avx2(x); }
};

}  // namespace

void row_texels_avx2(const RowRays& rays)
{
    row_texels<Avx2Lanes>(rays);
}
