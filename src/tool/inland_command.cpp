#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/data_files.h"
#include "app/view_ops.h"
#include "earth/inland.h"
#include "earth/shore.h"
#include "tool/commands.h"
#include "tool/options.h"

namespace {

const char help[] =
    "usage: globetool inland [--shore FILE] [--data DIR]\n"
    "Reads 'LAT LON' lines on standard input (degrees, north and east positive)\n"
    "and prints 1 (land) or 0 (sea) for each, as the viewer's land and sea fill\n"
    "decides it from the shorelines. Blank lines are skipped.\n"
    "  --shore FILE  the shoreline file (default SHOREX.DAT, looked up in the\n"
    "                working directory, then in the data folder)\n"
    "  --data DIR    the data folder\n";

struct InlandOptions {
    std::string shore = "SHOREX.DAT";
    ToolOptions shared;
};

// 1 parsed, 0 help shown, -1 bad usage (message printed).
int parse(int argc, char** argv, InlandOptions& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(help, stdout);
            return 0;
        }
        if (a == "--shore" && i + 1 < argc) {
            o.shore = argv[++i];
            continue;
        }
        std::string error;
        if (a == "--data" && take_shared_option(argc, argv, i, o.shared, error) == 1) continue;
        std::fprintf(stderr, "globetool inland: %s\n%s",
                     error.empty() ? ("unexpected argument '" + a + "'").c_str() : error.c_str(), help);
        return -1;
    }
    return 1;
}

// Reads "LAT LON" from a line; false unless that is all it holds.
bool read_place(const char* line, double& lat, double& lon)
{
    char* end = nullptr;
    errno = 0;
    lat = std::strtod(line, &end);
    if (end == line) return false;
    const char* second = end;
    lon = std::strtod(second, &end);
    if (end == second || errno == ERANGE) return false;
    end += std::strspn(end, " \t\r\n");
    return *end == '\0' && std::fabs(lat) <= 90 && std::isfinite(lon);
}

}  // namespace

int inland_command(int argc, char** argv)
{
    InlandOptions o;
    const int parsed = parse(argc, argv, o);
    if (parsed <= 0) return parsed == 0 ? 0 : 2;

    Settings settings;
    settings.data_dir = chosen_data_dir(o.shared);
    const std::string path = find_data_file(o.shore, settings);
    Shore shore;
    const std::string message = loadshore(path, shore);
    if (!message.empty()) {
        std::fprintf(stderr, "globetool inland: %s: %s\n", path.c_str(), message.c_str());
        if (shore.shoreunits == 0) return 1;  // refused; a full piece table still loads
    }

    char line[512];
    for (long number = 1; std::fgets(line, sizeof line, stdin); ++number) {
        if (line[std::strspn(line, " \t\r\n")] == '\0') continue;
        double lat = 0, lon = 0;
        if (!read_place(line, lat, lon)) {
            std::fflush(stdout);
            std::fprintf(stderr, "globetool inland: line %ld: expected 'LAT LON' in degrees\n", number);
            return 1;
        }
        const Vec3 p = position_at_degrees(lat, lon);
        const int land = inland(shore, p.x, p.y, p.z);
        std::fputs(land ? "1\n" : "0\n", stdout);
    }
    return 0;
}
