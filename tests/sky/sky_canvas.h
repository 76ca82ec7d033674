#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/spans.h"
#include "core/camera.h"
#include "app/view_ops.h"
#include "core/frame_buffer.h"

// A frame with guard bytes past the right edge of every row and a camera
// looking along +z with +x to the right and +y down, at magnification 1.
struct SkyCanvas {
    static constexpr int32_t pad = 8;
    static constexpr uint8_t guard = 0xEE;
    int32_t width, height;
    std::vector<uint8_t> pixels;
    FrameBuffer frame;
    Spans spans;
    Camera view;

    SkyCanvas(int32_t w, int32_t h, uint8_t background = 0) : width(w), height(h)
    {
        int32_t pitch = w + pad;
        pixels.assign(static_cast<size_t>(pitch) * h, guard);
        frame.frame_ptr = pixels.data();
        frame.frame_pitch = pitch;
        frame.frame_xres = w;
        frame.frame_yres = h;
        for (int32_t y = 0; y < h; ++y) {
            frame.row_offset.push_back(y * pitch);
            for (int32_t x = 0; x < w; ++x) at(x, y) = background;
        }
        spans.rows = h;
        spans.xp.assign(static_cast<size_t>(h) * Spans::per_row, 0);
        spans.xpcnt.assign(static_cast<size_t>(h), 0);
        view.viewright = {1, 0, 0};
        view.viewdown = {0, 1, 0};
        view.viewfwd = {0, 0, 1};
        view.xres_half = w * 0.5;
        view.yres_half = h * 0.5;
        set_zoom(view, w);
    }

    uint8_t& at(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * frame.frame_pitch + x]; }

    int count(uint8_t value)
    {
        int n = 0;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) n += at(x, y) == value;
        return n;
    }

    bool guards_intact() const
    {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = width; x < width + pad; ++x)
                if (pixels[static_cast<size_t>(y) * frame.frame_pitch + x] != guard) return false;
        return true;
    }
};
