#include "app/main_loop.h"

#include "app/frame.h"
#include "app/startup.h"

namespace {

// A start that fails ends the program with a failure code once its message is shown.
constexpr int start_failed = 1;

int start_devices(App& app, Platform& platform)
{
    const Settings& s = app.settings;
    if (!platform.create_window(s.xres, s.yres, s.fullscreen)) return 0;
    if (!platform.initdirectinput() || !platform.initkeyboard() || !platform.initmouse()) {
        platform.destroy_window();
        return 0;
    }
    if (!platform.initdirectdraw(s.xres, s.yres, s.bpp, app.palette)) {
        platform.uninitmouse();
        platform.destroy_window();
        return 0;
    }
    return 1;
}

}  // namespace

void main_loop_pass(App& app, Platform& platform)
{
    if (app.loop.app_active) run_frame(app, platform);
    platform.pump_messages(app.loop);
}

int run_program(App& app, Platform& platform, int argc, char** argv)
{
    for (uint8_t& key : app.controls.key_state) key = 0;
    startup(app, platform, argc, argv);
    if (!start_devices(app, platform)) return start_failed;
    while (!app.loop.quit_requested) main_loop_pass(app, platform);
    platform.uninitdirectdraw();
    platform.uninitmouse();
    platform.uninitkeyboard();
    platform.uninitdirectinput();
    return app.loop.exit_code;
}
