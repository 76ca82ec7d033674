#include "app/main_loop.h"

#include "app/frame.h"
#include "app/startup.h"

namespace {

int start_devices(App& app, Platform& platform)
{
    const Settings& s = app.settings;
    if (!platform.create_window(s.xres, s.yres, s.fullscreen)) return 0;
    if (!platform.initdirectinput() || !platform.initkeyboard() || !platform.initmouse()) {
        platform.destroy_window();
        return 0;
    }
    if (!platform.initdirectdraw(s.xres, s.yres, app.palette)) {
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

int start_program(App& app, Platform& platform, int argc, char** argv)
{
    for (uint8_t& key : app.controls.key_state) key = 0;
    startup(app, platform, argc, argv);
    return start_devices(app, platform);
}

int end_program(App& app, Platform& platform)
{
    platform.uninitdirectdraw();
    platform.uninitmouse();
    platform.uninitkeyboard();
    platform.uninitdirectinput();
    return app.loop.exit_code;
}

int run_program(App& app, Platform& platform, int argc, char** argv)
{
    if (!start_program(app, platform, argc, argv)) return start_failed;
    while (!app.loop.quit_requested) main_loop_pass(app, platform);
    return end_program(app, platform);
}
