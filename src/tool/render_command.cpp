#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame.h"
#include "app/loaders.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "app/track.h"
#include "platform/headless/headless_platform.h"
#include "platform/time_zone.h"
#include "tool/commands.h"
#include "tool/fixed_view.h"
#include "tool/options.h"

namespace {

const char help[] =
    "usage: globetool render [OPTIONS]\n"
    "Draws one frame exactly as the viewer would and writes it as PCX.\n"
    "  --size WxH          frame size (default 640x480)\n"
    "  --at TIME           the moment shown (default now)\n"
    "  --from LAT,LON[,ALT] the eye (default the home position, 5 miles up)\n"
    "  --look VIEW         centre, down, up, north, south, east or west (default south),\n"
    "                      or a body (mercury ... pluto, moon, sun) as its digit key held would\n"
    "  --zoom M            magnification (default 1)\n"
    "  --no-texture        draw as if globe.gif were missing\n"
    "  --no-borders, --far-side, --no-labels, --no-status\n"
    "  --shore FILE, --bord FILE, --data DIR\n"
    "  --out FILE          the picture (default frame.pcx)\n"
    "  --camera            print the camera as JSON on stdout\n"
    "  --frames N          draw N frames and print the median and minimum ms per frame on stderr\n";

struct RenderOptions {
    ToolOptions shared;
    int32_t width = 640, height = 480;
    std::string look = "south";
    double zoom = 1;
    bool no_texture = false, no_borders = false, far_side = false, no_labels = false, no_status = false;
    bool camera = false;
    std::string shore, bord, out = "frame.pcx";
    int frames = 0;
};

// 1 parsed, 0 help shown, -1 bad usage (message printed).
int parse(int argc, char** argv, RenderOptions& o)
{
    for (int i = 1; i < argc; ++i) {
        std::string error;
        const int shared = take_shared_option(argc, argv, i, o.shared, error);
        if (shared == 1) continue;
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (shared < 0) {
            std::fprintf(stderr, "globetool render: %s\n", error.c_str());
            return -1;
        }
        if (a == "--help" || a == "-h") {
            std::fputs(help, stdout);
            return 0;
        }
        if (a == "--no-texture") o.no_texture = true;
        else if (a == "--no-borders") o.no_borders = true;
        else if (a == "--far-side") o.far_side = true;
        else if (a == "--no-labels") o.no_labels = true;
        else if (a == "--no-status") o.no_status = true;
        else if (a == "--camera") o.camera = true;
        else if (a == "--size" && has_value) {
            char tail = 0;
            if (std::sscanf(argv[++i], "%dx%d%c", &o.width, &o.height, &tail) != 2 || o.width <= 0 || o.height <= 0 ||
                o.width > 8192 || o.height > 8192) {
                std::fprintf(stderr, "globetool render: bad size '%s' (want WxH)\n", argv[i]);
                return -1;
            }
        } else if (a == "--look" && has_value) o.look = argv[++i];
        else if (a == "--zoom" && has_value) {
            char* end = nullptr;
            o.zoom = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(o.zoom > 0) || o.zoom > 1e6) {
                std::fprintf(stderr, "globetool render: bad magnification '%s'\n", argv[i]);
                return -1;
            }
        } else if (a == "--shore" && has_value) o.shore = argv[++i];
        else if (a == "--bord" && has_value) o.bord = argv[++i];
        else if (a == "--out" && has_value) o.out = argv[++i];
        else if (a == "--frames" && has_value) {
            o.frames = std::atoi(argv[++i]);
            if (o.frames <= 0) {
                std::fprintf(stderr, "globetool render: bad frame count '%s'\n", argv[i]);
                return -1;
            }
        } else {
            std::fprintf(stderr, "globetool render: unknown option '%s'\n%s", a.c_str(), help);
            return -1;
        }
    }
    if (!is_view_preset(o.look) && parse_body(o.look) < 0) {
        std::fprintf(stderr, "globetool render: unknown view '%s'\n", o.look.c_str());
        return -1;
    }
    return 1;
}

void print_vector(const char* name, const Vec3& v)
{
    std::printf("\"%s\": [%.17g, %.17g, %.17g], ", name, v.x, v.y, v.z);
}

void print_camera(const App& app)
{
    const View& v = app.view;
    std::printf("{");
    print_vector("viewpos", v.camera.viewpos);
    print_vector("viewright", v.camera.viewright);
    print_vector("viewdown", v.camera.viewdown);
    print_vector("viewfwd", v.camera.viewfwd);
    std::printf("\"zoom\": %.17g, \"xres\": %d, \"yres\": %d, \"sidereal_angle\": %.17g, \"day_number\": %.17g}\n",
                v.camera.zoom, app.frame.frame_xres, app.frame.frame_yres, app.time.sidereal_angle, app.time.day_number);
}

// Puts the eye, the view, the clock and the toggles where the options say,
// after the first frame has fixed the geometry and the home view.
void apply_state(App& app, const RenderOptions& o)
{
    fix_view(app, chosen_position(o.shared), o.look, o.zoom, chosen_instant(o.shared));
    View& view = app.view;
    view.show_borders = !o.no_borders;
    view.far_side_lines = o.far_side;
    view.show_labels = !o.no_labels;
}

void report_timing(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::fprintf(stderr, "median %.3f ms per frame, minimum %.3f ms per frame (%zu frames)\n", ms[ms.size() / 2],
                 ms.front(), ms.size());
}

}  // namespace

int render_command(int argc, char** argv)
{
    RenderOptions o;
    const int parsed = parse(argc, argv, o);
    if (parsed <= 0) return parsed == 0 ? 0 : 2;

    auto app = std::make_unique<App>();
    app->settings.data_dir = chosen_data_dir(o.shared);
    HeadlessPlatform platform;
    platform.zone = machine_time_zone();
    platform.local_clock = machine_local_time();
    const std::string size = "/" + std::to_string(o.width) + "x" + std::to_string(o.height);
    std::vector<char> size_arg(size.begin(), size.end());
    size_arg.push_back('\0');
    char title[] = "globetool";
    char* args[] = {title, size_arg.data()};
    startup(*app, platform, 2, args);
    app->settings.status_lines = !o.no_status;
    if (!o.shore.empty() || !o.bord.empty()) {
        if (!o.shore.empty()) app->settings.shore_filename = o.shore;
        if (!o.bord.empty()) app->settings.bord_filename = o.bord;
        load_map_data(*app, platform);
    }
    if (o.no_texture) {
        app->view.texture_loaded = 0;
        app->texture = Texture{};
    }
    for (const auto& m : platform.messages) std::fprintf(stderr, "%s%s", m.text.c_str(), m.text.ends_with('\n') ? "" : "\n");
    if (!platform.initdirectdraw(app->settings.xres, app->settings.yres, 8, app->palette)) return 1;

    run_frame(*app, platform);
    apply_state(*app, o);
    // No time passes between the frames drawn, so nothing moves.
    platform.ms_per_frame = 0;
    if (const int32_t body = parse_body(o.look); body >= 0) platform.press({body_key(body)});
    std::vector<double> times;
    for (int n = 0; n < std::max(o.frames, 1); ++n) {
        const auto start = std::chrono::steady_clock::now();
        run_frame(*app, platform);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    if (o.frames > 0) report_timing(times);
    if (o.camera) print_camera(*app);
    if (write_pcx(o.out.c_str(), platform.pixels.data(), platform.width, platform.height, platform.pitch,
                  app->palette) != 0) {
        std::fprintf(stderr, "globetool render: can't write '%s'\n", o.out.c_str());
        return 1;
    }
    return 0;
}
