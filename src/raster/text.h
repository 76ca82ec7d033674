#pragma once
#include <cstdint>

#include "core/frame_buffer.h"

// A background that leaves the clear pixels of each cell untouched.
constexpr int32_t no_background = -1;

// Draws one 4 x 6 glyph per byte from (x, y) rightwards in colour fg on bg, or
// on what is there with no_background. The caller keeps every cell inside the frame.
void drawtext(const FrameBuffer& frame, int32_t x, int32_t y, int32_t fg, int32_t bg, const char* text);
