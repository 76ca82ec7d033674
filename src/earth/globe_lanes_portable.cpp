#include "earth/globe_lanes.h"

void row_texels_portable(const RowRays& rays)
{
    for (int32_t i = 0; i < rays.count; ++i) rays.texel[i] = RowRays::exact;
}

std::vector<RowKernel> usable_row_kernels() { return {row_texels_portable}; }
