#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/command_line.h"
#include "app/data_files.h"
#include "app/main_loop.h"
#include "app/time_and_place.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_signals.h"

namespace {

const char usage[] =
    "usage: globe [/WIDTHxHEIGHT] [shFILE] [boFILE] [--window] [--home LAT,LON] [--sky] [--night] [--help] [--version]\n"
    "\n"
    "An interactive viewer of the Earth and the sky.\n"
    "  /WIDTHxHEIGHT  frame size in pixels (default /640x480)\n"
    "  shFILE         shoreline file, any name starting with sh (default SHOREX.DAT)\n"
    "  boFILE         border file, any name starting with bo (default BORDX.DAT)\n"
    "  --window       a window of the frame size instead of the full screen\n"
    "  --home LAT,LON the home view's place, degrees north and east (default 41.6611,-71.4845)\n"
    "  --sky          the stars, Sun, Moon and planets behind the Earth's image too\n"
    "                 (key K switches them on and off)\n"
    "  --night        day and night on the Earth's image, with city lights (key I)\n"
    "  --help, -h     this text\n"
    "  --version      the program's version\n"
    "\n"
    "Mouse turns the view; F1 shows every key and mouse binding; Escape quits.\n";

}  // namespace

int main(int argc, char** argv)
{
    const Flags flags = scan_flags(argc, argv);
    if (flags.help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (flags.version) {
        std::puts("globe 1.0");
        return 0;
    }
    // A bad home place stops the program before any window opens.
    if (Vec3 place; flags.home && !parse_home(*flags.home, place)) {
        std::fprintf(stderr, "globe: %s\n", home_refusal(*flags.home).c_str());
        return 2;
    }
    // The arguments are split again by the program's own rule: blanks separate, nothing quotes.
    std::string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    char* args[max_args];
    const int count = split_command_line(buffer.data(), args);

    install_quit_signals();
    auto app = std::make_unique<App>();
    app->settings.data_dir = default_data_dir("/proc/self/exe");
    app->settings.help_hint = true;
    SdlPlatform platform(app->workers);
    return run_program(*app, platform, count, args);
}
