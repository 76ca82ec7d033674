#include "app/screen_geometry.h"

#include <new>

#include "app/view_ops.h"

namespace {

bool allocate_spans(Spans& spans, int32_t rows)
{
    spans = Spans{};
    try {
        spans = make_spans(rows);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Row table, screen centre and span work area for a frame of this size.
void adopt_frame_size(App& app, Platform& platform, int32_t pitch, int32_t xres, int32_t yres)
{
    app.frame = make_frame(app.frame.frame_ptr, pitch, xres, yres);

    app.view.camera.xres_half = xres * 0.5;
    app.view.camera.yres_half = yres * 0.5;
    if (!allocate_spans(app.spans, yres)) platform.message_box("Out of memory (xp)", nullptr);
}

}  // namespace

void set_screen_geometry(App& app, Platform& platform, int32_t pitch, int32_t xres, int32_t yres)
{
    adopt_frame_size(app, platform, pitch, xres, yres);
    view_reset(app.view, app.time, platform.local_time());
    set_zoom(app.view.camera, xres);
}

void resize_screen_geometry(App& app, Platform& platform, int32_t pitch, int32_t xres, int32_t yres)
{
    const double magnification = app.view.camera.zoom / app.frame.frame_xres;
    adopt_frame_size(app, platform, pitch, xres, yres);
    set_zoom(app.view.camera, magnification * xres);
}
