#include "tool/options.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <ctime>

#include "app/data_files.h"
#include "app/view_ops.h"
#include "core/constants.h"
#include "platform/time_zone.h"
#include "sky/ephemeris.h"

namespace {

bool read_fields(const char* text, int& year, int& month, int& day, int& hour, int& minute, int& second,
                 int& used)
{
    used = 0;
    second = 0;
    if (std::sscanf(text, "%4d-%2d-%2dT%2d:%2d%n", &year, &month, &day, &hour, &minute, &used) != 5) return false;
    int more = 0;
    if (text[used] == ':' && std::sscanf(text + used, ":%2d%n", &second, &more) == 1) used += more;
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 60;
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
    if (static_cast<size_t>(n) != text.size() || std::fabs(lat) > 90 || !std::isfinite(lon) || !(alt > -earth_radius_miles))
        return false;
    position = position_at_degrees(lat, lon) * ((earth_radius_miles + alt) / earth_radius_miles);
    return true;
}

int take_shared_option(int argc, char** argv, int& i, ToolOptions& options, std::string& error)
{
    const char* name = argv[i];
    const bool known = !std::strcmp(name, "--at") || !std::strcmp(name, "--from") || !std::strcmp(name, "--data");
    if (!known) return 0;
    if (i + 1 >= argc) {
        error = std::string(name) + " needs a value";
        return -1;
    }
    const std::string value = argv[++i];
    if (!std::strcmp(name, "--data")) {
        options.data_dir = value;
        return 1;
    }
    if (!std::strcmp(name, "--at")) {
        int64_t seconds = 0;
        if (!parse_time(value, seconds)) {
            error = "bad time '" + value + "' (want YYYY-MM-DDTHH:MM[:SS] with Z, +HH:MM, -HH:MM or nothing)";
            return -1;
        }
        options.at = seconds;
        return 1;
    }
    Vec3 position;
    if (!parse_place(value, position)) {
        error = "bad place '" + value + "' (want LAT,LON[,ALT] in degrees and miles)";
        return -1;
    }
    options.from = position;
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

std::string chosen_data_dir(const ToolOptions& options)
{
    return options.data_dir.empty() ? default_data_dir("/proc/self/exe") : options.data_dir;
}

int32_t parse_body(const std::string& name)
{
    for (int32_t i = 0; i < num_bodies; ++i)
        if (strcasecmp(name.c_str(), body_names[i]) == 0) return i;
    return -1;
}
