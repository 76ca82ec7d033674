#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/camera.h"
#include "core/frame_buffer.h"
#include "core/spans.h"

// The one frame the renderer tests draw into: rows padded past the right
// edge and guard rows above and below, all holding a guard byte no drawing
// may touch, with a span area for every row.
struct TestFrame {
    static constexpr uint8_t guard = 0xA5;
    static constexpr int32_t pad = 8;
    static constexpr int32_t guard_rows = 4;

    FrameBuffer frame;
    Spans spans;

    TestFrame(int32_t width, int32_t height, uint8_t background = 0, int32_t pitch = 0)
    {
        pitch = pitch ? pitch : width + pad;
        bytes_.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height + 2 * guard_rows), guard);
        frame = make_frame(bytes_.data() + static_cast<size_t>(pitch) * guard_rows, pitch, width, height);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) frame.row(y)[x] = background;
        spans = make_spans(height);
    }

    int32_t width() const { return frame.frame_xres; }
    int32_t height() const { return frame.frame_yres; }
    uint8_t& at(int32_t x, int32_t y) { return frame.row(y)[x]; }
    uint8_t at(int32_t x, int32_t y) const { return frame.row(y)[x]; }

    int count(uint8_t colour) const
    {
        int n = 0;
        for (int32_t y = 0; y < height(); ++y)
            for (int32_t x = 0; x < width(); ++x) n += at(x, y) == colour;
        return n;
    }

    bool guards_intact() const
    {
        const int64_t pitch = frame.frame_pitch, first = pitch * guard_rows;
        for (size_t i = 0; i < bytes_.size(); ++i) {
            const int64_t offset = static_cast<int64_t>(i) - first;
            const bool pixel = offset >= 0 && offset / pitch < height() && offset % pitch < width();
            if (!pixel && bytes_[i] != guard) return false;
        }
        return true;
    }

private:
    std::vector<uint8_t> bytes_;
};

// The point of the unit sphere at latitude lat (north positive) and longitude
// lon (east positive), in degrees; north is -y.
inline Vec3 geo(double lat, double lon)
{
    const double phi = lat * M_PI / 180, lam = lon * M_PI / 180;
    return {std::sin(lam) * std::cos(phi), -std::sin(phi), -std::cos(phi) * std::cos(lam)};
}

// The camera of a w x h frame at eye looking at target, screen up towards -y
// (north) as far as possible, turned by roll degrees about the line of sight;
// magnification 1 makes the zoom distance the frame's width.
inline Camera look_at(int32_t w, int32_t h, Vec3 eye, Vec3 target, double roll = 0, double mag = 1)
{
    const auto unit = [](Vec3 v) { return v * (1 / length(v)); };
    Camera v;
    v.viewpos = eye;
    v.viewfwd = unit(target - eye);
    Vec3 down = Vec3{0, 1, 0} - v.viewfwd * v.viewfwd.y;
    if (length(down) < 1e-9) down = Vec3{1, 0, 0} - v.viewfwd * v.viewfwd.x;
    down = unit(down);
    const Vec3 right = cross(down, v.viewfwd);
    const double c = std::cos(roll * M_PI / 180), s = std::sin(roll * M_PI / 180);
    v.viewright = right * c + down * s;
    v.viewdown = down * c - right * s;
    v.zoom = w * mag;
    v.zoom_half = v.zoom * 0.5;
    v.xres_half = w * 0.5;
    v.yres_half = h * 0.5;
    v.corner_dist2 = v.zoom_half * v.zoom_half + v.xres_half * v.xres_half + v.yres_half * v.yres_half;
    return v;
}
