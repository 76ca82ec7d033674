#include "app/time_and_place.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "app/view_ops.h"
#include "core/constants.h"
#include "platform/time_zone.h"
#include "sky/calendar.h"

namespace {

int days_in_month(int year, int month)
{
    return days_from_date(year, month + 1, 1) - days_from_date(year, month, 1);
}

bool read_fields(const char* text, int& year, int& month, int& day, int& hour, int& minute, int& second,
                 int& used)
{
    second = 0;
    if (std::sscanf(text, "%4d-%2d-%2dT%2d:%2d%n", &year, &month, &day, &hour, &minute, &used) != 5) return false;
    int more{};
    if (text[used] == ':' && std::sscanf(text + used, ":%2d%n", &second, &more) == 1) used += more;
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= days_in_month(year, month) && hour >= 0 &&
           hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 60;
}

// "LAT,LON" at the start of text, both in range; n is the length read.
bool read_degrees(const char* text, double& lat, double& lon, int& n)
{
    return std::sscanf(text, "%lf,%lf%n", &lat, &lon, &n) == 2 && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
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
    int oh{}, om{}, n{};
    if ((zone[0] != '+' && zone[0] != '-') || std::sscanf(zone.c_str() + 1, "%2d:%2d%n", &oh, &om, &n) != 2 ||
        static_cast<size_t>(n) + 1 != zone.size() || oh > 23 || om > 59)
        return false;
    const int64_t offset = (oh * 60 + om) * 60;
    seconds = zone[0] == '+' ? utc - offset : utc + offset;
    return true;
}

bool parse_place(const std::string& text, Vec3& position)
{
    double lat{}, lon{}, alt = 5;
    int n{};
    if (!read_degrees(text.c_str(), lat, lon, n)) return false;
    if (text[static_cast<size_t>(n)] == ',') {
        int m{};
        if (std::sscanf(text.c_str() + n, ",%lf%n", &alt, &m) != 1) return false;
        n += m;
    }
    if (static_cast<size_t>(n) != text.size() || !(alt > -earth_radius_miles && alt <= 1e9)) return false;
    position = position_at_degrees(lat, lon) * ((earth_radius_miles + alt) / earth_radius_miles);
    return true;
}

bool parse_home(const std::string& text, Vec3& direction)
{
    double lat{}, lon{};
    int n{};
    if (!read_degrees(text.c_str(), lat, lon, n) || static_cast<size_t>(n) != text.size()) return false;
    direction = position_at_degrees(lat, lon);
    return true;
}

std::string home_refusal(const std::string& text)
{
    return "--home: bad value '" + text + "' (want LAT,LON: LAT -90 to 90 and LON -180 to 180 degrees)";
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

int64_t chosen_instant(const TimeAndPlace& named)
{
    return named.at ? *named.at : static_cast<int64_t>(std::time(nullptr));
}

Vec3 chosen_position(const TimeAndPlace& named)
{
    if (named.from) return *named.from;
    const double r = lowest_eye_dist;
    return position_at(home_lat, home_lon) * r;
}

