// The viewer's main on a web page: wires the app to the browser platform and
// lets the browser's animation frames drive the main loop.
#include <emscripten.h>

#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/command_line.h"
#include "app/fixed_view.h"
#include "app/main_loop.h"
#include "app/screenshot.h"
#include "app/state_json.h"
#include "app/time_and_place.h"
#include "platform/web/web_platform.h"

namespace {

// What the page shows, for its controls and for whoever drives it (Module.onState).
EM_JS(void, web_publish_state, (const char* json), {
    Module.globeStateText = UTF8ToString(json);
    if (Module.onState) Module.onState();
});

// A moment and view fixed by the page's address, shown still until the user moves.
struct FixedView {
    TimeAndPlace place;
    std::string look = "south";
};

struct WebRun {
    App app;
    WebPlatform platform{app.workers};
    std::optional<FixedView> fixed;
    int32_t shots_offered = 0;
};

// Takes --at, --from and --look out of the arguments; the rest is the
// viewer's own command line. Bad values are reported and leave the view free.
std::optional<FixedView> take_fixed_view(int argc, char** argv, std::string& line, WebPlatform& platform)
{
    FixedView fixed;
    bool any = false, bad = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--at" || a == "--from") && i + 1 < argc) {
            const std::string value = argv[++i];
            int64_t instant = 0;
            Vec3 place;
            if (a == "--at" && parse_time(value, instant)) fixed.place.at = instant;
            else if (a == "--from" && parse_place(value, place)) fixed.place.from = place;
            else {
                platform.message_box(a + ": bad value '" + value + "'\n", nullptr);
                bad = true;
            }
            any = true;
        } else if (a == "--look" && i + 1 < argc) {
            fixed.look = argv[++i];
            any = true;
            if (!is_view_preset(fixed.look)) {
                platform.message_box("unknown view '" + fixed.look + "'\n", nullptr);
                bad = true;
            }
        } else {
            line += (line.empty() ? "" : " ") + a;
        }
    }
    if (!any || bad) return std::nullopt;
    return fixed;
}

void show_fixed_view(WebRun& run)
{
    const FixedView& f = *run.fixed;
    const int64_t instant = chosen_instant(f.place);
    fix_view(run.app.view.camera, run.app.time, chosen_position(f.place), f.look, 1, instant);
    run.app.time.tzinfo = run.platform.time_zone_at(instant);
    run.platform.hold_clock();
    run.fixed.reset();
}

void pass(void* arg)
{
    WebRun& run = *static_cast<WebRun*>(arg);
    App& app = run.app;
    main_loop_pass(app, run.platform);
    if (app.controls.shot_counter != run.shots_offered) {
        run.shots_offered = app.controls.shot_counter;
        run.platform.offer_download(screenshot_name(run.shots_offered - 1));
    }
    // The first frame fixed the geometry and the home view; the fixed view goes over them.
    if (run.fixed && app.frame.frame_xres > 0) show_fixed_view(run);
    web_publish_state(viewer_state_json(app).c_str());
    if (app.loop.quit_requested) {
        emscripten_cancel_main_loop();
        run.platform.show_end(end_program(app, run.platform));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Lives as long as the page: the browser calls the loop after main returns.
    auto* run = new WebRun;
    std::string line;
    run->fixed = take_fixed_view(argc, argv, line, run->platform);
    // A fixed view's frames stay those of globetool.
    run->app.settings.help_hint = !run->fixed;
    run->app.settings.touch_help = true;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    char* args[max_args];
    const int count = split_command_line(buffer.data(), args);
    if (!start_program(run->app, run->platform, count, args)) {
        run->platform.show_end(start_failed);
        return start_failed;
    }
    emscripten_set_main_loop_arg(pass, run, 0, false);
    return 0;
}
