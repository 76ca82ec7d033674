#include "tool/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <ctime>

#include "app/data_files.h"
#include "app/view_ops.h"
#include "core/constants.h"
#include "platform/time_zone.h"
#include "sky/calendar.h"
#include "sky/ephemeris.h"

namespace {

int days_in_month(int year, int month)
{
    return days_from_date(year, month + 1, 1) - days_from_date(year, month, 1);
}

bool read_fields(const char* text, int& year, int& month, int& day, int& hour, int& minute, int& second,
                 int& used)
{
    used = 0;
    second = 0;
    if (std::sscanf(text, "%4d-%2d-%2dT%2d:%2d%n", &year, &month, &day, &hour, &minute, &used) != 5) return false;
    int more = 0;
    if (text[used] == ':' && std::sscanf(text + used, ":%2d%n", &second, &more) == 1) used += more;
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= days_in_month(year, month) && hour >= 0 &&
           hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 60;
}

}  // namespace

bool parse_time(const std::string& text, int64_t& seconds)
{
    int year, month, day, hour, minute, second, used;
    if (!read_fields(text.c_str(), year, month, day, hour, minute, second, used)) return false;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    const std::string zone = text.substr(static_cast<size_t>(used));
    if (zone.empty()) {
        tm.tm_isdst = -1;
        seconds = std::mktime(&tm);
        return true;
    }
    const int64_t utc = timegm(&tm);
    if (zone == "Z") {
        seconds = utc;
        return true;
    }
    int oh = 0, om = 0, n = 0;
    if ((zone[0] != '+' && zone[0] != '-') || std::sscanf(zone.c_str() + 1, "%2d:%2d%n", &oh, &om, &n) != 2 ||
        static_cast<size_t>(n) + 1 != zone.size() || oh > 23 || om > 59)
        return false;
    const int64_t offset = (oh * 60 + om) * 60;
    seconds = zone[0] == '+' ? utc - offset : utc + offset;
    return true;
}

bool parse_place(const std::string& text, Vec3& position)
{
    double lat = 0, lon = 0, alt = 5;
    int n = 0;
    const int fields = std::sscanf(text.c_str(), "%lf,%lf%n", &lat, &lon, &n);
    if (fields != 2) return false;
    if (text[static_cast<size_t>(n)] == ',') {
        int m = 0;
        if (std::sscanf(text.c_str() + n, ",%lf%n", &alt, &m) != 1) return false;
        n += m;
    }
    if (static_cast<size_t>(n) != text.size() || !(std::fabs(lat) <= 90) || !(std::fabs(lon) <= 180) ||
        !(alt > -earth_radius_miles && alt <= 1e9))
        return false;
    position = position_at_degrees(lat, lon) * ((earth_radius_miles + alt) / earth_radius_miles);
    return true;
}

void prepare_command(CLI::App& command)
{
    command.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command.get_formatter()->label("Usage", "usage");
}

CLI::Validator quiet(CLI::Validator check)
{
    check.description("");
    return check;
}

void add_time_and_place(CLI::App& command, ToolOptions& options)
{
    command.add_option_function<std::string>(
        "--at",
        [&options](const std::string& value) {
            int64_t seconds = 0;
            if (!parse_time(value, seconds))
                throw CLI::ValidationError("--at", "bad time '" + value +
                                                       "' (want a real date and time as YYYY-MM-DDTHH:MM[:SS] "
                                                       "with Z, +HH:MM, -HH:MM or nothing for local time)");
            options.at = seconds;
        },
        "the moment shown: YYYY-MM-DDTHH:MM[:SS] with Z, +HH:MM, -HH:MM or nothing for local time (default now)")
        ->type_name("TIME");
    command.add_option_function<std::string>(
        "--from",
        [&options](const std::string& value) {
            Vec3 position;
            if (!parse_place(value, position))
                throw CLI::ValidationError("--from", "bad place '" + value +
                                                         "' (want LAT,LON[,ALT]: LAT -90 to 90 and LON -180 to 180 "
                                                         "degrees, ALT above -3964 and at most 1e9 miles)");
            options.from = position;
        },
        "the eye: degrees north and east, miles above the surface (default the home position, 5 miles up)")
        ->type_name("LAT,LON[,ALT]");
}

void add_data_option(CLI::App& command, ToolOptions& options, const std::string& help)
{
    command.add_option("--data", options.data_dir, help)->type_name("DIR")->check(quiet(CLI::ExistingDirectory));
}

CLI::Validator finite_range(double lowest, double highest)
{
    const std::string want = "want a number from " + CLI::detail::to_string(lowest) + " to " +
                             CLI::detail::to_string(highest);
    return CLI::Validator(
        [=](const std::string& text) {
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            const bool ok = !text.empty() && *end == '\0' && value >= lowest && value <= highest;
            return ok ? std::string() : "bad value '" + text + "' (" + want + ")";
        },
        "");
}

int parse_command(CLI::App& command, int argc, char** argv)
{
    try {
        command.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(command.help().c_str(), stdout);
        return finish_output(command.get_name());
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "%s: %s\nRun '%s --help' for the options.\n", command.get_name().c_str(), e.what(),
                     command.get_name().c_str());
        return 2;
    }
    return -1;
}

int finish_output(const std::string& command)
{
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "%s: can't write standard output: %s\n", command.c_str(),
                 flushed ? "write error" : std::strerror(error));
    return 1;
}

void set_clock_to(TimeState& time, int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    time.tzinfo = machine_time_zone_at(seconds);
    set_clock(time, {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec > 59 ? 59 : local.tm_sec});
}

int64_t chosen_instant(const ToolOptions& options)
{
    return options.at ? *options.at : static_cast<int64_t>(std::time(nullptr));
}

Vec3 chosen_position(const ToolOptions& options)
{
    if (options.from) return *options.from;
    const double r = lowest_eye_dist;
    return position_at(home_lat, home_lon) * r;
}

void apply_data_dir(const ToolOptions& options, Settings& settings)
{
    settings.data_dir = options.data_dir.empty() ? default_data_dir("/proc/self/exe") : options.data_dir;
    settings.data_dir_first = !options.data_dir.empty();
}

int32_t parse_body(const std::string& name)
{
    for (int32_t i = 0; i < num_bodies; ++i)
        if (strcasecmp(name.c_str(), body_names[i]) == 0) return i;
    return -1;
}
