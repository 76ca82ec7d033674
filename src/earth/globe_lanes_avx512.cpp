// Built with -mavx512f; called only where the processor has it.
#include <immintrin.h>
#include <sleef.h>

#include "earth/globe_lanes_kernel.h"

namespace {

struct Avx512Lanes {
    using V = __m512d;
    using I = int32_t __attribute__((vector_size(32)));
    // The masked form spares GCC 12 a false warning about the unmasked one.
    static V sqrt(V x) { return _mm512_mask_sqrt_pd(x, 0xff, x); }
    static V atan2(V y, V x) { return Sleef_atan2d8_u35avx512f(y, x); }
    static V asin(V x) { return Sleef_asind8_u35avx512f(x); }
};

}  // namespace

void row_texels_avx512(const RowRays& rays)
{
    row_texels<Avx512Lanes>(rays);
}
