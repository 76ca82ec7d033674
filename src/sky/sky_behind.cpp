#include "sky/sky_behind.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

#include "sky/ephemeris.h"
#include "sky/sky.h"

namespace {

// Stands for the globe's disc on the layer: at 64 or above, so stars and dots
// leave it alone, and never a colour the sky paints.
constexpr uint8_t disc_mark = 64;
static_assert(std::none_of(std::begin(body_colour), std::end(body_colour), [](uint8_t c) { return c == disc_mark || c - 8 == disc_mark; }));

// The layer sized for the frame, holding the frame's pixels with the disc
// marked; false when there is no room for it.
bool prepare_layer(SkyLayer& layer, const FrameBuffer& frame, const Spans& spans, bool earth_drawn)
{
    const int32_t w = frame.frame_xres, h = frame.frame_yres;
    try {
        layer.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
        layer.frame.row_offset.resize(static_cast<size_t>(h));
        layer.disc.assign(2 * static_cast<size_t>(h), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    layer.frame.frame_ptr = layer.pixels.data();
    layer.frame.frame_pitch = layer.frame.frame_xres = w;
    layer.frame.frame_yres = h;
    for (int32_t y = 0; y < h; ++y) {
        layer.frame.row_offset[static_cast<size_t>(y)] = y * w;
        uint8_t* row = layer.frame.row(y);
        std::memcpy(row, frame.row(y), static_cast<size_t>(w));
        if (!earth_drawn || y >= spans.rows || spans.xpcnt[static_cast<size_t>(y)] < 2) continue;
        const int32_t left = std::clamp(spans.row(y)[0], 0, w);
        const int32_t right = std::clamp(spans.row(y)[1], left, w);
        layer.disc[2 * static_cast<size_t>(y)] = left;
        layer.disc[2 * static_cast<size_t>(y) + 1] = right;
        std::memset(row + left, disc_mark, static_cast<size_t>(right - left));
    }
    return true;
}

// The pixels of [left, right) on one row that the sky changed, in their shown
// colours; before is what the layer held there (the disc's mark on the disc,
// else the frame's pixel). The sky changes few pixels: runs of eight
// unchanged ones are passed over at once.
void copy_each(uint8_t* out, const uint8_t* sky, int32_t left, int32_t right, bool on_disc,
               const SkyColours& colours)
{
    for (int32_t x = left; x < right; ++x)
        if (sky[x] != (on_disc ? disc_mark : out[x])) out[x] = colours[sky[x]];
}

void copy_changed(uint8_t* out, const uint8_t* sky, int32_t left, int32_t right, bool on_disc,
                  const SkyColours& colours)
{
    constexpr uint64_t marks = 0x0101010101010101u * disc_mark;
    int32_t x = left;
    for (; x + 8 <= right; x += 8) {
        uint64_t now = 0, before = marks;
        std::memcpy(&now, sky + x, 8);
        if (!on_disc) std::memcpy(&before, out + x, 8);
        if (now != before) copy_each(out, sky, x, x + 8, on_disc, colours);
    }
    copy_each(out, sky, x, right, on_disc, colours);
}

void copy_sky(const SkyLayer& layer, const FrameBuffer& frame)
{
    for (int32_t y = 0; y < frame.frame_yres; ++y) {
        uint8_t* out = frame.row(y);
        const uint8_t* sky = layer.frame.row(y);
        const int32_t left = layer.disc[2 * static_cast<size_t>(y)];
        const int32_t right = layer.disc[2 * static_cast<size_t>(y) + 1];
        copy_changed(out, sky, 0, left, false, layer.colours);
        copy_changed(out, sky, left, right, true, layer.colours);
        copy_changed(out, sky, right, frame.frame_xres, false, layer.colours);
    }
}

}  // namespace

void draw_sky_behind(const Camera& view, const FrameBuffer& frame, Spans& spans, bool earth_drawn,
                     SkyLayer& layer, const Instant& time, const Stars& stars, bool labels)
{
    if (frame.empty()) return;
    if (!prepare_layer(layer, frame, spans, earth_drawn)) return;
    draw_sky(view, layer.frame, spans, time, stars, labels);
    copy_sky(layer, frame);
}
