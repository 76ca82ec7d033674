#include <cstdio>
#include <string>

#include "sky/sky_table.h"
#include "tool/commands.h"
#include "tool/options.h"

int sky_command(int argc, char** argv)
{
    ToolOptions options;
    CLI::App command("Prints where the Sun, the Moon and the planets stand for the viewer, as CSV: right "
                     "ascension (hours) and declination (degrees) of date, distance in millions of miles, altitude "
                     "and azimuth (degrees, from north through east).",
                     "globetool sky");
    prepare_command(command);
    add_time_and_place(command, options);
    add_data_option(command, options, "accepted as by render; the sky reads no data files");
    if (const int code = parse_command(command, argc, argv); code >= 0) return code;

    TimeState time;
    set_clock_to(time, chosen_instant(options));
    std::puts("body,ra_hours,dec_degrees,distance_mmiles,altitude_degrees,azimuth_degrees");
    for (const SkyRow& row : sky_table(time.instant, chosen_position(options)))
        std::printf("%s,%.7f,%.6f,%.7f,%.5f,%.5f\n", row.body, row.ra_hours, row.dec_degrees,
                    row.distance_mmiles, row.altitude_degrees, row.azimuth_degrees);
    return finish_output("globetool sky");
}
