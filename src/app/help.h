#pragma once
#include <cstdint>
#include <vector>

#include "core/frame_buffer.h"

// The help overlay (F1): every key and mouse binding of the viewer, grouped,
// in the built-in font's characters.
struct HelpGroup {
    const char* title;
    std::vector<const char*> lines;
};
// The groups in drawing order; the touch gestures last, when asked for.
std::vector<HelpGroup> help_groups(bool touch);

struct HelpText {
    int32_t x = 0, y = 0;
    const char* text = nullptr;
};
// Where each title and line goes: groups flow down columns between the
// status lines above and the speed line below, a group kept whole in its
// column, the columns as short as lets every group fit the frame's width;
// groups for which no room is left on a small frame are left out.
std::vector<HelpText> help_layout(const std::vector<HelpGroup>& groups, int32_t frame_xres, int32_t frame_yres);

// Draws the overlay over the frame, each cell on black.
void draw_help(const FrameBuffer& frame, bool touch);
// Draws the one-line hint in the bottom right corner, which no status line uses.
void draw_help_hint(const FrameBuffer& frame);
