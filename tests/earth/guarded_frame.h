#pragma once
#include <cstdint>
#include <vector>

#include "core/frame_buffer.h"

// A frame whose pitch is wider than its width, with guard rows above and
// below: every byte outside the frame's pixels must keep its fill value.
class GuardedFrame {
public:
    static constexpr uint8_t guard = 0xA5;
    static constexpr int32_t guard_rows = 4;

    GuardedFrame(int32_t width, int32_t height, int32_t pitch)
        : bytes_(static_cast<size_t>(pitch) * static_cast<size_t>(height + 2 * guard_rows), guard)
    {
        frame.frame_pitch = pitch;
        frame.frame_xres = width;
        frame.frame_yres = height;
        frame.frame_ptr = bytes_.data() + static_cast<size_t>(pitch) * guard_rows;
        for (int32_t y = 0; y < height; ++y) {
            frame.row_offset.push_back(y * pitch);
            for (int32_t x = 0; x < width; ++x) frame.row(y)[x] = 0;
        }
    }

    uint8_t at(int32_t x, int32_t y) const { return frame.row(y)[x]; }

    // Pixels of the given colour.
    int count(uint8_t colour) const
    {
        int n = 0;
        for (int32_t y = 0; y < frame.frame_yres; ++y)
            for (int32_t x = 0; x < frame.frame_xres; ++x) n += at(x, y) == colour;
        return n;
    }

    bool guards_intact() const
    {
        for (size_t i = 0; i < bytes_.size(); ++i) {
            const auto offset = static_cast<int64_t>(i) - int64_t{frame.frame_pitch} * guard_rows;
            const int64_t y = offset >= 0 ? offset / frame.frame_pitch : -1;
            const int64_t x = offset >= 0 ? offset % frame.frame_pitch : -1;
            const bool pixel = y >= 0 && y < frame.frame_yres && x < frame.frame_xres;
            if (!pixel && bytes_[i] != guard) return false;
        }
        return true;
    }

    FrameBuffer frame;

private:
    std::vector<uint8_t> bytes_;
};
