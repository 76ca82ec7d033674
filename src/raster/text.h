#pragma once
#include <cstdint>

#include "core/frame_buffer.h"

// Draws one 4 x 6 glyph per byte from (x, y) rightwards. bg < 0 leaves the
// clear pixels of each cell untouched. The caller keeps every cell inside the frame.
void drawtext(const FrameBuffer& frame, int32_t x, int32_t y, int32_t fg, int32_t bg, const char* text);
