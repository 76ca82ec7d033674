#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/data_files.h"
#include "app/load_messages.h"
#include "app/view_ops.h"
#include "earth/inland.h"
#include "earth/shore.h"
#include "tool/commands.h"
#include "tool/options.h"

namespace {

struct InlandOptions {
    std::string shore = "SHOREX.DAT";
    ToolOptions shared;
};

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


// A line longer than the buffer, which fgets would hand over in pieces; a
// line that just fills it loses only its newline.
bool too_long(const char* line, size_t size)
{
    const size_t length = std::strlen(line);
    if (length < size - 1 || line[length - 1] == '\n') return false;
    const int next = std::fgetc(stdin);
    return next != EOF && next != '\n';
}

int answer_lines(const Shore& shore)
{
    char line[512];
    for (long number = 1; std::fgets(line, sizeof line, stdin); ++number) {
        if (too_long(line, sizeof line)) {
            std::fflush(stdout);
            std::fprintf(stderr, "globetool inland: line %ld: longer than %zu characters\n", number, sizeof line - 1);
            return 1;
        }
        if (line[std::strspn(line, " \t\r\n")] == '\0') continue;
        double lat = 0, lon = 0;
        if (!read_place(line, lat, lon)) {
            std::fflush(stdout);
            std::fprintf(stderr, "globetool inland: line %ld: expected 'LAT LON' in degrees\n", number);
            return 1;
        }
        const Vec3 p = position_at_degrees(lat, lon);
        std::fputs(inland(shore, p.x, p.y, p.z) ? "1\n" : "0\n", stdout);
    }
    if (std::ferror(stdin)) {
        const int error = errno;
        std::fflush(stdout);
        std::fprintf(stderr, "globetool inland: can't read standard input: %s\n", std::strerror(error));
        return 1;
    }
    return finish_output("globetool inland");
}

}  // namespace

int inland_command(int argc, char** argv)
{
    InlandOptions o;
    CLI::App command("Reads 'LAT LON' lines on standard input (degrees, north and east positive) and prints 1 "
                     "(land) or 0 (sea) for each, as the viewer's land and sea fill decides it from the shorelines. "
                     "Blank lines are skipped.",
                     "globetool inland");
    prepare_command(command);
    command.add_option("--shore", o.shore,
                       "the shoreline file (default SHOREX.DAT, looked up in the working directory, then in the data "
                       "folder)")
        ->type_name("FILE");
    add_data_option(command, o.shared, "the data folder, searched before the working directory");
    if (const int code = parse_command(command, argc, argv); code >= 0) return code;

    Settings settings;
    apply_data_dir(o.shared, settings);
    const std::string path = find_data_file(o.shore, settings);
    Shore shore;
    const Result loaded = loadshore(path, shore);
    if (const std::string message = load_message(DataFile::shore, loaded); !message.empty())
        std::fprintf(stderr, "globetool inland: %s: %s\n", path.c_str(), message.c_str());
    if (!loaded.ok()) return 1;
    return answer_lines(shore);
}
