#pragma once
#include "core/spans.h"
#include "earth/fill_geometry.h"
#include "earth/shore.h"
#include "core/frame_buffer.h"

// Outlines the boundary circle of every visible piece's cap with single
// pixels at both ends of each row it covers. Uses and empties the span lists.
void outline_caps(const FillGeometry& g, const Shore& shore, const FrameBuffer& frame, Spans& spans);
