#include "platform/page_frame_size.h"

#include <algorithm>
#include <cmath>

namespace {

int32_t frame_side(double pixels)
{
    const double side = std::floor(pixels);
    return side >= largest_page_frame_side ? largest_page_frame_side : std::max(1, static_cast<int32_t>(side));
}

}  // namespace

PageFrameSize page_frame_size(double css_width, double css_height, double device_pixel_ratio)
{
    // An unknown size is an empty canvas; an unknown ratio a plain screen.
    if (!(css_width >= 1 && css_height >= 1)) return {};
    const double dpr = device_pixel_ratio >= 0.25 && device_pixel_ratio <= 64 ? device_pixel_ratio : 1;
    if (std::min(css_width, css_height) < small_screen_side) {
        // Device pixels a frame pixel, at least one and a half CSS pixels' worth.
        double device = std::ceil(1.5 * dpr);
        while (device > dpr && css_width * dpr / device < status_line_width) --device;
        if (device > dpr) return {frame_side(css_width * dpr / device), frame_side(css_height * dpr / device)};
    }
    return {frame_side(css_width), frame_side(css_height)};
}
