#include "app/frame.h"

#include <cstdio>

#include "app/draw.h"
#include "app/frame_steps.h"
#include "app/help.h"
#include "app/screen_geometry.h"
#include "app/screenshot.h"
#include "app/status.h"
#include "app/track.h"
#include "app/view_ops.h"
#include "platform/scan_codes.h"

namespace {

// How long the hint to the help shows after start.
constexpr uint32_t hint_ms = 10000;

void draw_help_layer(const App& app)
{
    if (app.view.show_help)
        draw_help(app.frame, app.settings.touch_help);
    else if (app.settings.help_hint &&
             static_cast<uint32_t>(app.time.now_ms) - static_cast<uint32_t>(app.controls.start_ms) < hint_ms)
        draw_help_hint(app.frame);
}

void draw_and_present(App& app, Platform& platform)
{
    uint8_t* pixels = nullptr;
    int32_t pitch{}, width{}, height{};
    if (!platform.lockframe(&pixels, &pitch, &width, &height)) return;
    app.frame.frame_ptr = pixels;
    // The first frame sets the home view; a later size (a page resized) is no request to go home.
    if (app.frame.frame_xres == -1)
        set_screen_geometry(app, platform, pitch, width, height);
    else if (pitch != app.frame.frame_pitch || width != app.frame.frame_xres || height != app.frame.frame_yres)
        resize_screen_geometry(app, platform, pitch, width, height);

    draw_scene(app);
    if (app.settings.status_lines) draw_status(app.frame, app.view, app.time);
    draw_help_layer(app);

    uint8_t* keys = app.controls.key_state;
    if (keys[dik::f12]) {
        keys[dik::f12] = 0;
        // No message box interrupts the flight; the next F12 tries the same name again.
        const Result saved = save_screenshot(&app.controls.shot_counter, pixels, width, height, pitch, app.palette);
        if (!saved.ok()) std::fprintf(stderr, "globe: can't save a screenshot: %s\n", saved.why().c_str());
    }
    platform.unlockframe();
    platform.presentframe();
}

}  // namespace

void run_frame(App& app, Platform& platform)
{
    Controls& controls = app.controls;
    platform.poll_keyboard(controls.key_state);
    app.time.now_ms = static_cast<int32_t>(platform.time_ms());
    int32_t dx{}, dy{};
    platform.poll_mouse(&dx, &dy, &controls.mouse_buttons);
    View& view = app.view;
    const int32_t xres = app.frame.frame_xres;
    TurnAngles turn = smooth_mouse(controls, view, xres, dx, dy);

    uint8_t* keys = controls.key_state;
    if (keys[dik::grave]) {
        keys[dik::grave] = 0;
        view.show_labels ^= 1;
    }
    time_of_day_keys(keys, app.time);
    date_keys(keys, app.time);
    spin_keys(keys, view.camera);
    zoom_keys(keys, view, xres);
    zoom_wheel(view, xres, platform.poll_wheel());
    two_fingers(view, xres, controls.mouse_buttons, platform.poll_two_fingers(), turn);
    if (app.time.time_manual == 0) update_time(app.time, 1, platform.local_time());
    view_rotate(view.camera, turn.roll, turn.pitch, turn.yaw);

    // Wrap-around of the 32-bit timer is harmless in unsigned arithmetic.
    controls.frame_dt =
        static_cast<int32_t>(static_cast<uint32_t>(app.time.now_ms) - static_cast<uint32_t>(controls.prev_frame_ms));
    controls.prev_frame_ms = app.time.now_ms;

    move_eye(app, platform);
    track_body(keys, app.time, view.camera, platform);

    draw_and_present(app, platform);

    if (keys[dik::escape]) {
        platform.post_close();
        free_buffers(app);
    }
}
