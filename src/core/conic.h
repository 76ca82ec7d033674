#pragma once
#include <cstddef>
#include <cstdint>

#include "core/camera.h"
#include "core/frame_buffer.h"
#include "core/spans.h"

// Rasterises the filled ellipse a*x^2 + b*x*y + c*y^2 + d*x + e*y + f <= 0
// (either overall sign) over pixel positions: each row from first to end - 1
// receives one pair [left, right) clipped to the frame, appended behind the
// row's existing entries. When nothing is appended (not an ellipse, empty, or
// wholly above or below the frame), end is -1 and first is left alone.
void conicspans(const FrameBuffer& frame, Spans& spans, double a, double b, double c,
                double d, double e, double f, int32_t& first, int32_t& end);

// A quadratic form in the viewing ray w = (x - xres_half, y - yres_half,
// zoom_half) of screen point (x, y): xx w.x^2 + 2 xy w.x w.y + ... .
struct RayQuadric {
    double xx, yy, zz, xy, xz, yz;
};

// conicspans for the screen points whose ray gives the form <= 0 (either
// overall sign).
void quadric_spans(const Camera& view, const FrameBuffer& frame, Spans& spans, const RayQuadric& q,
                   int32_t& first, int32_t& end);
