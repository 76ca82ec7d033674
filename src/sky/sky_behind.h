#pragma once
// The sky behind the textured globe, drawn as draw_sky draws it behind the
// filled one. The textured disc holds indices of the grey ramp that stars
// would brighten, so the sky is drawn on a layer of its own and copied over
// the frame, through the colours the palette can show, wherever it painted.
#include <cstdint>
#include <vector>

#include "core/camera.h"
#include "core/frame_buffer.h"
#include "core/spans.h"
#include "sky/instant.h"
#include "sky/sky_colours.h"
#include "sky/stars.h"

// What the layer keeps from frame to frame.
struct SkyLayer {
    std::vector<uint8_t> pixels;
    FrameBuffer frame;          // the pixels as the renderers see them
    std::vector<int32_t> disc;  // the globe's span on each row: left, right (exclusive)
    SkyColours colours = same_sky_colours();
};

// The frame holds the globe and its border lines; spans hold the globe's disc
// rows as globespans left them, unless earth_drawn is false (no disc). Stars
// and dots keep off the disc as they keep off the filled globe; discs and
// names paint where draw_sky would paint them.
void draw_sky_behind(const Camera& view, const FrameBuffer& frame, Spans& spans, bool earth_drawn,
                     SkyLayer& layer, const Instant& time, const Stars& stars, bool labels);
