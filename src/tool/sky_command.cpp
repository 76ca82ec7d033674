#include <cstdio>
#include <cstring>
#include <string>

#include "sky/sky_table.h"
#include "tool/commands.h"
#include "tool/options.h"

namespace {

const char help[] =
    "usage: globetool sky [--at TIME] [--from LAT,LON[,ALT]]\n"
    "Prints where the Sun, the Moon and the planets stand for the viewer, as CSV:\n"
    "right ascension (hours) and declination (degrees) of date, distance in\n"
    "millions of miles, altitude and azimuth (degrees, from north through east).\n"
    "  --at TIME             YYYY-MM-DDTHH:MM[:SS] with Z, +HH:MM, -HH:MM or\n"
    "                        nothing for local time (default now)\n"
    "  --from LAT,LON[,ALT]  degrees north and east, miles above the surface\n"
    "                        (default the home position, 5 miles up)\n"
    "  --data DIR            accepted as by every command; the sky reads no data files\n";

}  // namespace

int sky_command(int argc, char** argv)
{
    ToolOptions options;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(help, stdout);
            return 0;
        }
        std::string error;
        int taken = take_shared_option(argc, argv, i, options, error);
        if (taken < 0) {
            std::fprintf(stderr, "globetool sky: %s\n", error.c_str());
            return 2;
        }
        if (taken == 0) {
            std::fprintf(stderr, "globetool sky: unknown option '%s'\n", argv[i]);
            std::fputs(help, stderr);
            return 2;
        }
    }

    TimeState time;
    set_clock_to(time, chosen_instant(options));
    std::puts("body,ra_hours,dec_degrees,distance_mmiles,altitude_degrees,azimuth_degrees");
    for (const SkyRow& row : sky_table(time, chosen_position(options)))
        std::printf("%s,%.7f,%.6f,%.7f,%.5f,%.5f\n", row.body, row.ra_hours, row.dec_degrees,
                    row.distance_mmiles, row.altitude_degrees, row.azimuth_degrees);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
