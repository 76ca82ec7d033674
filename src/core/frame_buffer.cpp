#include "core/frame_buffer.h"

FrameBuffer make_frame(uint8_t* pixels, int32_t pitch, int32_t xres, int32_t yres)
{
    FrameBuffer frame;
    frame.frame_ptr = pixels;
    frame.frame_pitch = pitch;
    frame.frame_xres = xres;
    frame.frame_yres = yres;
    frame.row_offset.resize(static_cast<size_t>(yres > 0 ? yres : 0));
    for (int32_t y = 0; y < yres; ++y) frame.row_offset[static_cast<size_t>(y)] = y * pitch;
    return frame;
}
