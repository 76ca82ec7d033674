#include "earth/globe_lanes.h"

void row_texels_portable(const GlobeScene& scene, const RowRays& rays, RowPixels& pixels)
{
    for (int32_t j = 0; j < RowRays::lanes; ++j) {
        double x = rays.x[j], y = rays.y[j], z = rays.z[j];
        for (int32_t i = 0; i < rays.count[j]; ++i, x += scene.rx, y += scene.ry, z += scene.rz) {
            const int32_t e = pixels.exact_count++;
            pixels.exact_at[e] = i * RowRays::lanes + j;
            pixels.exact_rays[3 * e] = x;
            pixels.exact_rays[3 * e + 1] = y;
            pixels.exact_rays[3 * e + 2] = z;
        }
    }
}

std::vector<RowKernel> usable_row_kernels()
{
    return {row_texels_portable};
}
