#include "earth/globe_lanes.h"

void row_texels_portable(const RowRays& rays)
{
    for (int32_t j = 0; j < RowRays::lanes; ++j) {
        double x = rays.x[j], y = rays.y[j], z = rays.z[j];
        for (int32_t i = 0; i < rays.count[j]; ++i, x += rays.rx, y += rays.ry, z += rays.rz) {
            const int32_t e = (*rays.exact_count)++;
            rays.exact_at[e] = i * RowRays::lanes + j;
            rays.exact_rays[3 * e] = x;
            rays.exact_rays[3 * e + 1] = y;
            rays.exact_rays[3 * e + 2] = z;
        }
    }
}

std::vector<RowKernel> usable_row_kernels()
{
    return {row_texels_portable};
}
