#include <cstdio>
#include <ctime>
#include <string>

#include "sky/event_search.h"
#include "sky/calendar.h"
#include "tool/commands.h"
#include "tool/options.h"

namespace {

const char* kind_name(EventKind kind)
{
    switch (kind) {
    case EventKind::rise: return "rise";
    case EventKind::transit: return "transit";
    case EventKind::set: return "set";
    case EventKind::lower_transit: return "lower-transit";
    case EventKind::equinox: return "equinox";
    case EventKind::none: break;
    }
    return "none";
}

// The clock's local civil fields as seconds since 1970 UT, by the clock's own zone rule.
int64_t clock_instant(const TimeState& t)
{
    const long bias = clock_bias(t);
    const int64_t days = days_from_date(t.clock_year, t.clock_month, t.clock_day) - days_from_date(1970, 1, 1);
    return days * 86400 + t.clock_hour * 3600 + t.clock_minute * 60 + t.clock_second + int64_t{bias} * 60;
}

std::string iso_utc(int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

}  // namespace

int events_command(int argc, char** argv)
{
    ToolOptions options;
    std::string body_name;
    bool equinox = false;
    CLI::App command("Runs the viewer's search for the body's nearest rising, meridian passage or setting (with "
                     "--equinox and the Sun: the nearest equinox) and prints KIND,TIME with KIND rise, transit, set, "
                     "lower-transit, equinox or none and TIME in UT.",
                     "globetool events");
    prepare_command(command);
    command.add_option("body", body_name, "mercury, venus, moon, mars, jupiter, saturn, uranus, neptune, pluto, sun")
        ->required()
        ->type_name("BODY")
        ->check(CLI::Validator(
            [](const std::string& name) { return parse_body(name) >= 0 ? "" : "unknown body '" + name + "'"; }, ""));
    add_time_and_place(command, options);
    add_data_option(command, options, "accepted as by render; the search reads no data files");
    command.add_flag("--equinox", equinox,
                     "with the Sun: the nearest equinox, searched only from February to April and from August to "
                     "October; in other months none, as the viewer there only stops the clock");
    if (const int code = parse_command(command, argc, argv); code >= 0) return code;
    const int32_t body = parse_body(body_name);
    TimeState time;
    set_clock_to(time, chosen_instant(options));
    const EventKind kind = search_event(body, equinox, time, chosen_position(options), [] { return false; });
    std::printf("%s,%s\n", kind_name(kind), iso_utc(clock_instant(time)).c_str());
    return finish_output("globetool events");
}
