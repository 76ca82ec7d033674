#include "sky/sky_behind.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "sky/ephemeris.h"
#include "sky/sky.h"

namespace {

// Stands for the globe's disc on the layer: at 64 or above, so stars and dots
// leave it alone, and never a colour the sky paints.
constexpr uint8_t disc_mark = 64;
static_assert(std::none_of(std::begin(body_colour), std::end(body_colour),
                           [](uint8_t c) { return c == disc_mark || c - 8 == disc_mark; }));

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

// Every pixel the sky changed on the layer goes into the frame in its shown colour.
void copy_sky(const SkyLayer& layer, const FrameBuffer& frame)
{
    for (int32_t y = 0; y < frame.frame_yres; ++y) {
        uint8_t* out = frame.row(y);
        const uint8_t* sky = layer.frame.row(y);
        const int32_t left = layer.disc[2 * static_cast<size_t>(y)];
        const int32_t right = layer.disc[2 * static_cast<size_t>(y) + 1];
        for (int32_t x = 0; x < frame.frame_xres; ++x) {
            const uint8_t before = x >= left && x < right ? disc_mark : out[x];
            if (sky[x] != before) out[x] = layer.colours[sky[x]];
        }
    }
}

}  // namespace

void draw_sky_behind(const Camera& view, const FrameBuffer& frame, Spans& spans, bool earth_drawn,
                     SkyLayer& layer, const Instant& time, const Stars& stars, bool labels)
{
    if (frame.frame_xres <= 0 || frame.frame_yres <= 0) return;
    if (!prepare_layer(layer, frame, spans, earth_drawn)) return;
    draw_sky(view, layer.frame, spans, time, stars, labels);
    copy_sky(layer, frame);
}
