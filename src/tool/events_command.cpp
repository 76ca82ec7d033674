#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "sky/event_search.h"
#include "sky/calendar.h"
#include "tool/commands.h"
#include "tool/options.h"

namespace {

const char help[] =
    "usage: globetool events BODY [--at TIME] [--from LAT,LON[,ALT]] [--equinox]\n"
    "Runs the viewer's search for the body's nearest rising, meridian passage or\n"
    "setting (with --equinox and the Sun: the nearest equinox) and prints KIND,TIME\n"
    "with KIND rise, transit, set, lower-transit, equinox or none and TIME in UT.\n"
    "BODY: mercury, venus, moon, mars, jupiter, saturn, uranus, neptune, pluto, sun.\n";

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
    const TimeZoneInfo& tz = t.tzinfo;
    const long bias =
        tz.Bias + (is_daylight_time(t.clock_year, t.clock_month, t.clock_day, t.clock_hour, tz) ? tz.DaylightBias
                                                                                                 : tz.StandardBias);
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
    int32_t body = -1;
    bool equinox = false;
    for (int i = 1; i < argc; ++i) {
        std::string error;
        const int shared = take_shared_option(argc, argv, i, options, error);
        if (shared < 0) {
            std::fprintf(stderr, "globetool events: %s\n", error.c_str());
            return 2;
        }
        if (shared == 1) continue;
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(help, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--equinox")) {
            equinox = true;
        } else if (body < 0 && parse_body(argv[i]) >= 0) {
            body = parse_body(argv[i]);
        } else {
            std::fprintf(stderr, "globetool events: unexpected '%s'\n%s", argv[i], help);
            return 2;
        }
    }
    if (body < 0) {
        std::fputs(help, stderr);
        return 2;
    }
    TimeState time;
    set_clock_to(time, chosen_instant(options));
    const EventKind kind = search_event(body, equinox, time, chosen_position(options), [] { return false; });
    std::printf("%s,%s\n", kind_name(kind), iso_utc(clock_instant(time)).c_str());
    return 0;
}
