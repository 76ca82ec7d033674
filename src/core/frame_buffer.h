#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The locked back buffer as every renderer sees it: one palette index per
// pixel, pixel (x, y) at frame_ptr + row_offset[y] + x.
struct FrameBuffer {
    uint8_t* frame_ptr = nullptr;
    int32_t frame_pitch = -1;
    int32_t frame_xres = -1;
    int32_t frame_yres = -1;
    std::vector<int32_t> row_offset;  // frame_yres entries

    uint8_t* row(int32_t y) const { return frame_ptr + row_offset[static_cast<size_t>(y)]; }
    // No pixels to draw into: not locked yet, or of no size.
    bool empty() const { return frame_ptr == nullptr || frame_xres <= 0 || frame_yres <= 0; }
};

// A frame of xres x yres pixels whose rows lie pitch bytes apart from pixels on.
FrameBuffer make_frame(uint8_t* pixels, int32_t pitch, int32_t xres, int32_t yres);
