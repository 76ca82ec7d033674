#pragma once
#include <cstddef>
#include <cstdint>

#include "core/spans.h"
#include "core/camera.h"
#include "earth/shore.h"
#include "core/frame_buffer.h"

// Palette indices of the untextured globe.
constexpr uint8_t land_colour = 0x48;
constexpr uint8_t sea_colour = 0x58;
constexpr uint8_t cap_outline_colour = 0xFF;

// Paints every row of the frame: the disc spans that globespans left in
// spans become land and sea from the shoreline loops, everything else 0.
// The colour a row starts with comes from one random probe of the point-in-
// land test (rand_seed is the 15-bit generator's state, advanced here), or is
// sea throughout with far_side, where the far side's shorelines
// show through. While caps_lock is held, the bounding caps of the visible
// shoreline pieces are outlined; the span lists are then left empty.
void fillglobe(const Camera& view, bool far_side, const FrameBuffer& frame, Spans& spans, const Shore& shore,
               bool caps_lock, uint32_t& rand_seed);
