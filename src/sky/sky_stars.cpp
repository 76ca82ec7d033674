#include <algorithm>
#include <cmath>

#include "sky/sky.h"

void draw_stars(const Camera& view, const FrameBuffer& frame, const SkyCamera& camera, const Stars& stars)
{
    const Vec3& r = camera.right;
    const Vec3& dn = camera.down;
    const Vec3& f = camera.fwd;
    const double xres = frame.frame_xres;
    const double yres = frame.frame_yres;
    for (size_t i = stars.starcol.size(); i-- > 0;) {
        const float* s = stars.starv.data() + 3 * i;
        // In front and inside the cone through the screen corners, before any division.
        double t = s[0] * f.x + s[1] * f.y + s[2] * f.z;
        if (!(t >= camera.corner_cos)) continue;
        double q = view.zoom_half / t;
        double sy = std::nearbyint((s[0] * dn.x + s[1] * dn.y + s[2] * dn.z) * q + view.yres_half);
        if (!(sy >= 0 && sy < yres)) continue;
        double sx = std::nearbyint((s[0] * r.x + s[1] * r.y + s[2] * r.z) * q + view.xres_half);
        if (!(sx >= 0 && sx < xres)) continue;
        uint8_t* p = frame.row(static_cast<int32_t>(sy)) + static_cast<int32_t>(sx);
        // Stars light the grey ramp only: the globe and the bodies stay as they are.
        if (*p < 64) *p = static_cast<uint8_t>(std::min(*p + (stars.starcol[i] >> 2), 63));
    }
}
