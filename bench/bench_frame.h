#pragma once
#include <cstdint>
#include <vector>

#include "core/frame_buffer.h"
#include "core/spans.h"

// A frame buffer in memory with a span work area for every row, as the
// renderers find them in a locked frame.
struct BenchFrame {
    std::vector<uint8_t> pixels;
    FrameBuffer frame;
    Spans spans;

    BenchFrame(int32_t w, int32_t h) : pixels(static_cast<size_t>(w) * static_cast<size_t>(h))
    {
        frame.frame_ptr = pixels.data();
        frame.frame_pitch = frame.frame_xres = w;
        frame.frame_yres = h;
        for (int32_t y = 0; y < h; ++y) frame.row_offset.push_back(y * w);
        spans.rows = h;
        spans.xp.resize(static_cast<size_t>(h) * Spans::per_row);
        spans.xpcnt.resize(static_cast<size_t>(h));
    }
    BenchFrame(const BenchFrame&) = delete;
    BenchFrame& operator=(const BenchFrame&) = delete;
};
