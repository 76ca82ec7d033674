// Feeds arbitrary bytes to the border loader: it must refuse or accept
// without reading or writing outside its buffers and leave the previous
// borders alone when it refuses; what it accepts is drawn, from near and
// far, into a frame that must not be written outside its pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "earth/border_lines.h"
#include "earth/borders.h"

namespace {

void draw_and_check(const Borders& borders, double dist, uint8_t far_side)
{
    constexpr int32_t width = 48, height = 32, pitch = 53;
    std::vector<uint8_t> bytes(pitch * (height + 2), 0xA5);
    const FrameBuffer frame = make_frame(bytes.data() + pitch, pitch, width, height);
    Camera view;
    view.viewpos = {0.3 * dist, -0.4 * dist, -0.866 * dist};
    view.viewfwd = {-0.3, 0.4, 0.866};
    view.viewright = {0.9449, 0, 0.3273};
    view.viewdown = cross(view.viewfwd, view.viewright);
    view.zoom_half = 24;
    view.xres_half = 24;
    view.yres_half = 16;
    drawbords(view, frame, borders, far_side);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const size_t row = i / pitch, column = i % pitch;
        const bool pixel = row >= 1 && row <= height && column < width;
        if (!pixel && bytes[i] != 0xA5) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Borders borders;
    borders.bordunits = 77;
    borders.polv = {{0, 0, -1}};
    borders.polineto = {1};
    if (!loadbords_bytes({data, size}, borders).ok()) {
        if (borders.bordunits != 77 || borders.polcnt() != 1 || borders.polv.size() != 1) std::abort();
        return 0;
    }
    if (borders.polv.size() != static_cast<size_t>(borders.polcnt()) ||
        borders.polineto.size() != (static_cast<size_t>(borders.polcnt()) + 7) / 8 ||
        (borders.polcnt() > 0 && !starts_polyline(borders, 0)))
        std::abort();
    draw_and_check(borders, 1.01, 0);
    draw_and_check(borders, 3, 1);
    return 0;
}
