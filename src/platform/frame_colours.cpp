#include "platform/frame_colours.h"

#include <algorithm>

#include "core/workers.h"

namespace {

// Rows per piece of work; a frame smaller than a few pieces is not worth a
// thread.
constexpr int32_t rows_per_chunk = 64;

void colour_rows(const uint8_t* in, int32_t width, int32_t begin, int32_t end, const uint32_t* colours, uint8_t* out,
                 size_t out_pitch)
{
    for (int32_t y = begin; y < end; ++y) {
        const uint8_t* from = in + static_cast<size_t>(y) * static_cast<size_t>(width);
        auto* to = reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * out_pitch);
        for (int32_t x = 0; x < width; ++x) to[x] = colours[from[x]];
    }
}

}  // namespace

void colour_frame(const uint8_t* in, int32_t width, int32_t height, const uint32_t* colours, uint8_t* out,
                  size_t out_pitch, WorkerPool& workers)
{
    Chunks rows{height, rows_per_chunk};
    workers.run(height / (2 * rows_per_chunk) + 1, [&] {
        int32_t begin = 0, end = 0;
        while (rows.take(begin, end)) colour_rows(in, width, begin, end, colours, out, out_pitch);
    });
}
