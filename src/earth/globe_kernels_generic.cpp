#include "earth/globe_lanes.h"

std::vector<RowKernel> usable_row_kernels()
{
    return {row_texels_float};
}
