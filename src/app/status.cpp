#include "app/status.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/constants.h"
#include "core/format.h"
#include "raster/text.h"
#include "sky/calendar.h"

namespace {

const char degree_sign = static_cast<char>(248);
const double inv_pi = 0.3183098861837907;

// Code points of the font's codes 0x80..0xAF (code page 437).
const char32_t upper_codes[48] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
};

char font_char(wchar_t wc)
{
    const auto c = static_cast<char32_t>(wc);
    if (c >= 0x20 && c < 0x7F) return static_cast<char>(c);
    const char32_t* hit = std::find(std::begin(upper_codes), std::end(upper_codes), c);
    if (hit != std::end(upper_codes)) return static_cast<char>(0x80 + (hit - upper_codes));
    return '?';
}

// Latitude (north negative, as the frame has it) and longitude (east
// positive) of the eye in degrees.
struct Degrees {
    double lat, lon;
};

Degrees eye_degrees(const Vec3& p)
{
    return {std::atan2(p.y, std::hypot(p.x, p.z)) * 180 * inv_pi, std::atan2(p.x, -p.z) * 180 * inv_pi};
}

}  // namespace

std::string font_text(const std::wstring& name)
{
    std::string out;
    out.reserve(name.size());
    for (wchar_t c : name) out.push_back(font_char(c));
    return out;
}

std::string date_line(const TimeState& t)
{
    const int32_t weekday = day_of_week(days_from_date(t.clock_year, t.clock_month, t.clock_day));
    const char* month = t.clock_month >= 1 && t.clock_month <= 12 ? month_names[t.clock_month - 1] : "?";
    return format("%s %ld, %ld (%s)", month, static_cast<long>(t.clock_day), static_cast<long>(t.clock_year),
                  weekday_names[weekday]);
}

std::string time_line(const TimeState& t)
{
    const long h12 = (t.clock_hour + 11) % 12 + 1;
    const char letter = t.clock_hour >= 12 ? 'P' : 'A';
    const TimeZoneInfo& tz = t.tzinfo;
    const std::string name = font_text(clock_in_daylight(t) ? tz.DaylightName : tz.StandardName);
    const long bias = clock_bias(t);
    const long size = std::labs(bias);
    return format("%2ld:%02ld:%02ld %cM %s (UT%c%02ld:%02ld)", h12, static_cast<long>(t.clock_minute),
                  static_cast<long>(t.clock_second), letter, name.c_str(), bias > 0 ? '-' : '+', size / 60,
                  size % 60);
}

std::string latitude_line(const Vec3& viewpos)
{
    const double lat = eye_degrees(viewpos).lat;
    return format("%f %c%c", std::fabs(lat), degree_sign, lat > 0 ? 'S' : 'N');
}

std::string longitude_line(const Vec3& viewpos)
{
    const double lon = eye_degrees(viewpos).lon;
    return format("%f %c%c", std::fabs(lon), degree_sign, lon >= 0 ? 'E' : 'W');
}

std::string speed_line(const Vec3& viewvel)
{
    // The eye moves by viewvel every 16 ms of motion: Earth radii per 16 ms
    // as a percentage of the speed of light.
    const double light = (186282.3976 / earth_radius_miles) * 0.016;
    return format("%f%%", length(viewvel) * 100 / light);
}

std::string zoom_line(double zoom, int32_t frame_xres)
{
    const double magnification = zoom / frame_xres;
    double range = std::atan(frame_xres / zoom) * 360 * inv_pi;
    // atan keeps the range within +-180 degrees; only a NaN needs taming.
    if (std::isnan(range)) range = 0;
    const auto degrees = static_cast<long>(std::trunc(range));
    const long minutes = static_cast<long>(std::trunc(range * 60)) % 60;
    const long seconds = static_cast<long>(std::trunc(range * 3600)) % 60;
    return format("Magnification: %f, Viewing range: %ld%c %ld' %ld\"", magnification, degrees, degree_sign, minutes,
                  seconds);
}

std::vector<StatusLine> status_lines(const FrameBuffer& frame, const View& view, const TimeState& time)
{
    std::vector<StatusLine> lines;
    lines.push_back({0, date_line(time)});
    lines.push_back({8, time_line(time)});
    if (view.orbit_mode) {
        lines.push_back({16, latitude_line(view.camera.viewpos)});
        lines.push_back({24, longitude_line(view.camera.viewpos)});
        lines.push_back({frame.frame_yres - 6, speed_line(view.camera.viewvel)});
    }
    if (view.camera.zoom != frame.frame_xres) lines.push_back({32, zoom_line(view.camera.zoom, frame.frame_xres)});
    return lines;
}

void draw_status(const FrameBuffer& frame, const View& view, const TimeState& time)
{
    const size_t columns = frame.frame_xres > 0 ? static_cast<size_t>(frame.frame_xres / 4) : 0;
    for (StatusLine& line : status_lines(frame, view, time)) {
        if (line.y < 0 || line.y + 6 > frame.frame_yres) continue;
        if (line.text.size() > columns) line.text.resize(columns);
        drawtext(frame, 0, line.y, 31, no_background, line.text.c_str());
    }
}
