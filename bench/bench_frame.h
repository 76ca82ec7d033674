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
        frame = make_frame(pixels.data(), w, w, h);
        spans = make_spans(h);
    }
    BenchFrame(const BenchFrame&) = delete;
    BenchFrame& operator=(const BenchFrame&) = delete;
};
