#pragma once
#include <cstddef>
#include <cstdint>

#include "core/camera.h"
#include "core/frame_buffer.h"
#include "core/spans.h"

// The rows first to end - 1 of a frame; none when end is -1.
struct RowRange {
    int32_t first = 0;
    int32_t end = -1;
};

// Rasterises the filled ellipse a*x^2 + b*x*y + c*y^2 + d*x + e*y + f <= 0
// (either overall sign) over pixel positions: each row of the range it returns
// receives one pair [left, right) clipped to the frame, appended behind the
// row's existing entries. Nothing is appended when the conic is not an
// ellipse, is empty, or lies wholly above or below the frame.
RowRange conicspans(const FrameBuffer& frame, Spans& spans, double a, double b, double c, double d, double e,
                    double f);

// A quadratic form in the viewing ray w = (x - xres_half, y - yres_half,
// zoom_half) of screen point (x, y): xx w.x^2 + 2 xy w.x w.y + ... .
struct RayQuadric {
    double xx, yy, zz, xy, xz, yz;
};

// conicspans for the screen points whose ray gives the form <= 0 (either
// overall sign).
RowRange quadric_spans(const Camera& view, const FrameBuffer& frame, Spans& spans, const RayQuadric& q);
