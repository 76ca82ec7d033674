#include "app/startup.h"

#include "app/command_line.h"
#include "app/loaders.h"
#include "app/palette_init.h"

void startup(App& app, Platform& platform, int argc, char** argv)
{
    Settings& settings = app.settings;
    std::vector<std::string> messages;
    apply_arguments(argc, argv, settings, messages);
    for (const std::string& text : messages) platform.message_box(text, nullptr);
    settings.fullscreen = scan_flags(argc, argv).window ? 0 : 1;

    load_data(app, platform);
    start_clocks(app, platform);

    app.view.min_dist = lowest_eye_dist;
}

void load_data(App& app, Platform& platform)
{
    build_palette(app.palette);
    load_all_data(app, platform);
}

void start_clocks(App& app, Platform& platform)
{
    const auto t = static_cast<int32_t>(platform.time_ms());
    app.controls.prev_frame_ms = app.time.clock_ms_ref = app.time.now_ms = t;
    app.controls.frame_dt = 0;
    app.time.tzinfo = platform.time_zone();
}
