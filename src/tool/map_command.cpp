#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/load_messages.h"
#include "core/constants.h"
#include "earth/borders.h"
#include "earth/shore.h"
#include "tool/commands.h"
#include "tool/options.h"

namespace {

struct MapOptions {
    std::string file;
    bool borders = false;
    bool dump = false;
};

// Shortest text that reads back as the same double.
void print_point(double lon, double lat)
{
    char text[64];
    char* end = std::to_chars(text, text + 30, lon).ptr;
    *end++ = ' ';
    end = std::to_chars(end, text + 62, lat).ptr;
    *end++ = '\n';
    std::fwrite(text, 1, static_cast<size_t>(end - text), stdout);
}

void dump_shore(const Shore& shore)
{
    const double degrees = 360.0 / shore.shoreunits;
    size_t p = 0;
    for (int32_t count : shore.loopnum) {
        for (int32_t i = 0; i < count; ++i, ++p) print_point(shore.ll[p].lon * degrees, -shore.ll[p].lat * degrees);
        std::fputc('\n', stdout);
    }
}

void dump_borders(const Borders& borders)
{
    for (int32_t k = 0; k < borders.polcnt(); ++k) {
        if (k > 0 && starts_polyline(borders, k)) std::fputc('\n', stdout);
        const Vec3f& v = borders.polv[static_cast<size_t>(k)];
        const double lon = std::atan2(v.x, -v.z) * degrees_per_radian;
        const double lat = std::asin(std::fmax(-1.0, std::fmin(1.0, -v.y))) * degrees_per_radian;
        print_point(std::round(lon * 1e6) / 1e6, std::round(lat * 1e6) / 1e6);
    }
    if (borders.polcnt() > 0) std::fputc('\n', stdout);
}

int count_polylines(const Borders& borders)
{
    int count = 0;
    for (int32_t k = 0; k < borders.polcnt(); ++k) count += starts_polyline(borders, k);
    return count;
}

int show_shore(const MapOptions& o)
{
    Shore shore;
    const Result loaded = loadshore(o.file, shore);
    if (const std::string message = load_message(DataFile::shore, loaded); !message.empty())
        std::fprintf(stderr, "globetool map: %s: %s\n", o.file.c_str(), message.c_str());
    if (!loaded.ok()) return 1;
    if (o.dump) {
        dump_shore(shore);
    } else {
        std::printf("units %d\nloops %d\npoints %d\npieces %d\nmaxdlon %d\nmaxdlonwrap %d\n", shore.shoreunits,
                    shore.loopcnt(), shore.pointcnt(), shore.lpscnt(), shore.maxdlon, shore.maxdlonwrap);
    }
    return 0;
}

int show_borders(const MapOptions& o)
{
    Borders borders;
    if (const Result loaded = loadbords(o.file, borders); !loaded.ok()) {
        std::fprintf(stderr, "globetool map: %s: %s\n", o.file.c_str(),
                     load_message(DataFile::borders, loaded).c_str());
        return 1;
    }
    if (o.dump)
        dump_borders(borders);
    else
        std::printf("units %d\npolylines %d\npoints %d\n", borders.bordunits, count_polylines(borders), borders.polcnt());
    return 0;
}

}  // namespace

int map_command(int argc, char** argv)
{
    MapOptions o;
    CLI::App command("Loads FILE as the viewer loads its shoreline file (SHOREX.DAT) and prints what it holds: "
                     "units per turn, loops, points, piece records, maxdlon and maxdlonwrap. Exits 1 with the "
                     "viewer's message when it would refuse the file.",
                     "globetool map");
    prepare_command(command);
    command.add_option("file", o.file, "the map file")->required()->type_name("FILE");
    command.add_flag("--borders", o.borders, "read FILE as a border file (BORDX.DAT): units, polylines, points");
    command.add_flag("--dump", o.dump,
                     "print every loop or polyline instead: one 'lon lat' line per point in degrees, east and north "
                     "positive, and a blank line after each");
    if (const int code = parse_command(command, argc, argv); code >= 0) return code;
    const int shown = o.borders ? show_borders(o) : show_shore(o);
    return shown != 0 ? shown : finish_output("globetool map");
}
