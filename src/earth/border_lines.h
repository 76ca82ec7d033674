#pragma once
#include <cstdint>

#include "core/camera.h"
#include "earth/borders.h"
#include "core/frame_buffer.h"

constexpr uint8_t border_colour = 0x45;

// Draws the border polylines over the frame as one-pixel lines. Segments on
// the far side of the Earth are left out unless far_side is set;
// segments are cut at the horizon and at the near limit in front of the eye.
void drawbords(const Camera& view, const FrameBuffer& frame, const Borders& borders, bool far_side);

// One line from (x0, y0) to (x1, y1) in screen coordinates, one pixel per row
// or column along its longer axis, sampled at pixel centres in fixed point
// with 18 fraction bits. Only pixels inside the frame are written, however
// far outside it the ends lie.
void draw_border_line(const FrameBuffer& frame, double x0, double y0, double x1, double y1, uint8_t colour);
