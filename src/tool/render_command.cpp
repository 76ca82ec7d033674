#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame.h"
#include "app/screen_geometry.h"
#include "app/startup.h"
#include "app/state_json.h"
#include "app/track.h"
#include "platform/headless/headless_platform.h"
#include "platform/time_zone.h"
#include "tool/commands.h"
#include "app/fixed_view.h"
#include "tool/options.h"
#include "tool/picture_file.h"
#include "tool/sequence.h"

namespace {

struct RenderOptions {
    ToolOptions shared;
    int32_t width = 640, height = 480;
    std::string look = "south";
    double zoom = 1;
    bool no_texture = false, no_borders = false, far_side = false, no_labels = false, no_status = false, night = false;
    bool camera = false, sky = false;
    std::string shore, bord, out = "frame.pcx";
    int frames = 0;
    int count = 1;
    int64_t step = 0;
};

std::string check_view(const std::string& name)
{
    return is_view_preset(name) || parse_body(name) >= 0 ? "" : "unknown view '" + name + "'";
}

void add_options(CLI::App& command, RenderOptions& o)
{
    command.add_option_function<std::string>(
               "--size",
               [&o](const std::string& value) {
                   char tail = 0;
                   if (std::sscanf(value.c_str(), "%dx%d%c", &o.width, &o.height, &tail) != 2 || o.width <= 0 ||
                       o.height <= 0 || o.width > 8192 || o.height > 8192)
                       throw CLI::ValidationError("--size", "bad size '" + value + "' (want WxH, 1 to 8192 each)");
               },
               "frame size (default 640x480)")
        ->type_name("WxH");
    add_time_and_place(command, o.shared);
    command.add_option("--look", o.look,
                       "centre, down, up, north, south, east or west (default south), or a body "
                       "(mercury ... pluto, moon, sun) as its digit key held would")
        ->type_name("VIEW")
        ->check(CLI::Validator(check_view, ""));
    command.add_option("--zoom", o.zoom, "magnification (default 1)")->type_name("M")->check(finite_range(1, 1e6));
    command.add_flag("--no-texture", o.no_texture, "draw as if globe.gif were missing");
    command.add_flag("--night", o.night, "day and night on the textured globe, with city lights, as key I shows them");
    command.add_flag("--no-borders", o.no_borders, "leave the borders out");
    command.add_flag("--far-side", o.far_side, "draw lines on the far side of the globe too");
    command.add_flag("--no-labels", o.no_labels, "leave the names of the bodies out");
    command.add_flag("--no-status", o.no_status, "leave the status lines out");
    command.add_flag("--sky", o.sky, "draw the sky behind the textured globe too, as key K does");
    command.add_option("--shore", o.shore, "the shoreline file (default SHOREX.DAT)")->type_name("FILE");
    command.add_option("--bord", o.bord, "the border file (default BORDX.DAT)")->type_name("FILE");
    add_data_option(command, o.shared, "the data folder, searched before the working directory");
    command.add_option("--out", o.out,
                       "the picture, PNG when FILE ends in .png, else PCX (default frame.pcx); with --count, a "
                       "printf-style pattern with one number such as frame%04d.png")
        ->type_name("FILE");
    command.add_flag("--camera", o.camera, "print the camera as JSON on stdout (one line per frame)");
    auto* frames = command.add_option("--frames", o.frames,
                                      "draw N frames and print the median and minimum ms per frame on stderr")
                       ->type_name("N")
                       ->check(quiet(CLI::Range(1, 1000000)));
    auto* count = command.add_option("--count", o.count, "render a sequence of N frames, numbered from 0")
                      ->type_name("N")
                      ->check(quiet(CLI::Range(1, 100000)))
                      ->excludes(frames);
    command.add_option_function<std::string>(
               "--step",
               [&o](const std::string& value) {
                   if (!parse_step(value, o.step))
                       throw CLI::ValidationError("--step", "bad step '" + value +
                                                                "' (want a whole number of s, m, h, d or sd, such as "
                                                                "90s, 10m, -1h, 1d or 1sd, at most 1e10 s)");
               },
               "the clock's step from one frame of a sequence to the next: 90s, 10m, 1h, 1d, 1sd (sidereal "
               "day), negative for backwards")
        ->type_name("DURATION")
        ->needs(count);
}

// Puts the eye, the view and the toggles where the options say.
void apply_state(App& app, const RenderOptions& o)
{
    fix_view(app.view.camera, app.time, chosen_position(o.shared), o.look, o.zoom, chosen_instant(o.shared));
    View& view = app.view;
    view.show_borders = !o.no_borders;
    view.far_side_lines = o.far_side;
    view.show_labels = !o.no_labels;
    view.sky = o.sky;
    view.night = o.night;
}

void report_timing(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::fprintf(stderr, "median %.3f ms per frame, minimum %.3f ms per frame (%zu frames)\n", ms[ms.size() / 2],
                 ms.front(), ms.size());
}

// Loads the data and sets up the frame as the viewer would at the options' size.
bool set_up(App& app, HeadlessPlatform& platform, const RenderOptions& o)
{
    Settings& settings = app.settings;
    apply_data_dir(o.shared, settings);
    settings.xres = o.width;
    settings.yres = o.height;
    settings.status_lines = !o.no_status;
    if (!o.shore.empty()) settings.shore_filename = o.shore;
    if (!o.bord.empty()) settings.bord_filename = o.bord;
    platform.zone = machine_time_zone();
    platform.local_clock = machine_local_time();
    // No time passes between the frames drawn, so nothing moves.
    platform.ms_per_frame = 0;
    load_data(app, platform);
    start_clocks(app, platform);
    if (o.no_texture) {
        app.view.texture_loaded = false;
        app.texture = Texture{};
    }
    for (const auto& m : platform.messages)
        std::fprintf(stderr, "%s%s", m.text.c_str(), m.text.ends_with('\n') ? "" : "\n");
    if (!platform.initdirectdraw(o.width, o.height, app.palette)) return false;
    set_screen_geometry(app, platform, platform.pitch, o.width, o.height);
    apply_state(app, o);
    if (const int32_t body = parse_body(o.look); body >= 0) platform.press({body_key(body)});
    return true;
}

}  // namespace

int render_command(int argc, char** argv)
{
    RenderOptions o;
    CLI::App command("Draws a frame exactly as the viewer would and writes it as PCX or PNG.", "globetool render");
    prepare_command(command);
    add_options(command, o);
    if (const int code = parse_command(command, argc, argv); code >= 0) return code;
    const bool numbered = frame_name(o.out, 0).has_value();
    if (o.count > 1 && !numbered) {
        std::fprintf(stderr, "globetool render: --out '%s' needs one printf-style number such as %%04d for --count\n",
                     o.out.c_str());
        return 2;
    }

    auto app = std::make_unique<App>();
    HeadlessPlatform platform;
    if (!set_up(*app, platform, o)) return 1;
    const int64_t start = chosen_instant(o.shared);
    const bool progress = o.count > 1 && isatty(STDERR_FILENO);
    const auto began = std::chrono::steady_clock::now();
    for (int k = 0; k < o.count; ++k) {
        set_clock_to(app->time, start + k * o.step);
        std::vector<double> times;
        for (int n = 0; n < std::max(o.frames, 1); ++n) {
            const auto t0 = std::chrono::steady_clock::now();
            run_frame(*app, platform);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        if (o.frames > 0) report_timing(times);
        if (o.camera) std::printf("%s\n", camera_json(app->view.camera, app->frame, app->time.instant).c_str());
        const std::string name = numbered ? *frame_name(o.out, k) : o.out;
        const Result written =
            write_picture(name, platform.pixels.data(), platform.width, platform.height, platform.pitch, app->palette);
        if (!written.ok()) {
            std::fprintf(stderr, "%sglobetool render: can't write '%s': %s\n", progress ? "\n" : "", name.c_str(),
                         written.why().c_str());
            return 1;
        }
        if (progress)
            show_progress(k + 1, o.count,
                          std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    }
    return o.camera ? finish_output("globetool render") : 0;
}
