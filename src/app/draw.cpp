#include "app/draw.h"

#include <cmath>
#include <cstring>

#include "core/workers.h"
#include "earth/border_lines.h"
#include "earth/fill.h"
#include "earth/globe.h"
#include "platform/scan_codes.h"
#include "sky/ephemeris.h"
#include "sky/sky.h"
#include "sky/sky_behind.h"

namespace {

void clear_frame(const FrameBuffer& frame)
{
    std::memset(frame.frame_ptr, 0, static_cast<size_t>(frame.frame_pitch) * static_cast<size_t>(frame.frame_yres));
}

// The Sun's direction from the Earth's centre at the displayed moment.
Daylight daylight(const App& app)
{
    if (!app.view.night) return {};
    const Vec3 sun = body_direction(sun_index, app.time.instant, {0, 0, 0});
    return {sun * (1 / std::sqrt(dot(sun, sun))), &app.light};
}

void draw_globe(App& app)
{
    const View& view = app.view;
    globespans(view.camera, app.frame, app.spans);
    if (view.texture_loaded)
        texglobe(view.camera, app.frame, app.spans, app.texture, daylight(app), app.workers, app.globe_kernel);
    else
        fillglobe(view.camera, view.far_side_lines, app.frame, app.spans, app.shore,
                  app.controls.key_state[dik::capital] != 0, app.controls.rand_seed);
}

}  // namespace

void draw_scene(App& app)
{
    if (app.view.show_earth)
        draw_globe(app);
    else
        clear_frame(app.frame);
    // Borders show over the cleared frame too when the Earth is hidden.
    const View& view = app.view;
    if (view.show_borders) drawbords(view.camera, app.frame, app.borders, view.far_side_lines);
    if (!view.texture_loaded)
        draw_sky(view.camera, app.frame, app.spans, app.time.instant, app.stars, view.show_labels);
    else if (view.sky)
        draw_sky_behind(view.camera, app.frame, app.spans, view.show_earth != 0, app.sky_layer, app.time.instant,
                        app.stars, view.show_labels);
}
