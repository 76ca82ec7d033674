#include "earth/globe_lanes.h"

std::vector<RowKernel> usable_row_kernels()
{
    std::vector<RowKernel> kernels;
    if (__builtin_cpu_supports("avx512f")) kernels.push_back(row_texels_avx512);
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) kernels.push_back(row_texels_avx2);
    kernels.push_back(row_texels_sse2);
    kernels.push_back(row_texels_float);
    return kernels;
}
