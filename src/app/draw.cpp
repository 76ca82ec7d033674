#include "app/draw.h"

#include <cstring>

namespace {

void clear_frame(const FrameBuffer& frame)
{
    std::memset(frame.frame_ptr, 0, static_cast<size_t>(frame.frame_pitch) * static_cast<size_t>(frame.frame_yres));
}

}  // namespace

void draw_scene(App& app)
{
    if (!app.view.show_earth) {
        clear_frame(app.frame);
    } else {
        clear_frame(app.frame);
    }
}
