// The baseline of x86-64: runs on every processor.
#include <immintrin.h>
#include <sleef.h>

#include "earth/globe_lanes_kernel.h"

namespace {

struct Sse2Lanes {
    using V = __m128d;
    using I = int32_t __attribute__((vector_size(8)));
    static V sqrt(V x) { return _mm_sqrt_pd(x); }
    static V atan2(V y, V x) { return Sleef_atan2d2_u35sse2(y, x); }
    static V asin(V x) { return Sleef_asind2_u35sse2(x); }
};

}  // namespace

void row_texels_sse2(const RowRays& rays)
{
    row_texels<Sse2Lanes>(rays);
}
