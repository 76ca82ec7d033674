#include "app/startup.h"

#include "app/command_line.h"
#include "app/loaders.h"
#include "app/palette_init.h"
#include "app/time_and_place.h"
#include "sky/sky_colours.h"

namespace {

// A refused home place is reported and the built-in one kept.
void set_home(View& view, const std::string& text, Platform& platform)
{
    Vec3 place;
    if (parse_home(text, place))
        view.home = place;
    else
        platform.message_box(home_refusal(text), nullptr);
}

}  // namespace

void startup(App& app, Platform& platform, int argc, char** argv)
{
    Settings& settings = app.settings;
    std::vector<std::string> messages;
    apply_arguments(argc, argv, settings, messages);
    for (const std::string& text : messages) platform.message_box(text, nullptr);
    const Flags flags = scan_flags(argc, argv);
    settings.fullscreen = flags.window ? 0 : 1;
    if (flags.home) set_home(app.view, *flags.home, platform);
    app.view.sky = flags.sky;
    app.view.night = flags.night;

    load_data(app, platform);
    start_clocks(app, platform);

    app.view.min_dist = lowest_eye_dist;
}

void load_data(App& app, Platform& platform)
{
    Palette built;
    build_palette(built);
    app.palette = built;
    load_all_data(app, platform);
    app.sky_layer.colours = sky_colours(built, app.palette);
}

void start_clocks(App& app, Platform& platform)
{
    const auto t = static_cast<int32_t>(platform.time_ms());
    app.controls.prev_frame_ms = app.controls.start_ms = app.time.clock_ms_ref = app.time.now_ms = t;
    app.controls.frame_dt = 0;
    app.time.tzinfo = platform.time_zone();
}
