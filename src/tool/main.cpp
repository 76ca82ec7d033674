#include <cstdio>
#include <cstring>

#include "tool/commands.h"
#include "tool/options.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* summary;
};

constexpr Command commands[] = {
    {"render", render_command, "draw frames as the viewer would and save them as PCX or PNG"},
    {"gif", gif_command, "decode a GIF as the viewer decodes globe.gif"},
    {"sky", sky_command, "where the Sun, the Moon and the planets stand, as CSV"},
    {"events", events_command, "the next rising, meridian passage, setting or equinox the viewer finds"},
    {"map", map_command, "what a shoreline or border file holds, or its points as text"},
    {"inland", inland_command, "land (1) or sea (0) for each LAT LON on standard input"},
};

void usage(std::FILE* out)
{
    std::fputs("usage: globetool COMMAND [OPTIONS]\n\nCommands:\n", out);
    for (const Command& c : commands) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
    std::fputs("\nShared options: --at TIME, --from LAT,LON[,ALT] and --data DIR for render, sky and events;\n"
               "--data DIR alone for inland; gif and map take none of them.\n"
               "'globetool COMMAND --help' describes each command.\n",
               out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        usage(stdout);
        return finish_output("globetool");
    }
    for (const Command& c : commands)
        if (!std::strcmp(argv[1], c.name)) return c.run(argc - 1, argv + 1);
    std::fprintf(stderr, "globetool: unknown command '%s'\n", argv[1]);
    usage(stderr);
    return 2;
}
