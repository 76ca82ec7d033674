#include "app/status.h"

#include <gtest/gtest.h>

#include <string>

#include "app/view_ops.h"

namespace {

TimeState at(int32_t h, int32_t mi, int32_t s, long bias, const wchar_t* name = L"Zone")
{
    TimeState t;
    t.tzinfo.Bias = bias;
    t.tzinfo.StandardName = t.tzinfo.DaylightName = name;
    set_clock(t, {2000, 1, 1, h, mi, s});
    return t;
}

}  // namespace

// The viewer's frames show the lines of an Eastern afternoon in both halves of
// the year; these are the edges they do not reach.
TEST(Status, LinesAtTheirEdges)
{
    TimeState leap = at(0, 0, 0, 0), first = at(0, 0, 0, 0), last = at(0, 0, 0, 0);
    set_clock(leap, {2000, 2, 29, 0, 0, 0});
    set_clock(first, {2001, 1, 1, 0, 0, 0});
    set_clock(last, {1999, 12, 31, 23, 59, 59});
    const Vec3 sydney = position_at_degrees(-33.5, 151.25);
    const std::pair<std::string, std::string> lines[] = {
        {date_line(leap), "FEBRUARY 29, 2000 (TUESDAY)"},
        {date_line(first) + date_line(last), "JANUARY 1, 2001 (MONDAY)DECEMBER 31, 1999 (FRIDAY)"},
        {time_line(at(0, 0, 0, 300)), "12:00:00 AM Zone (UT-05:00)"},
        {time_line(at(13, 5, 7, 330)), " 1:05:07 PM Zone (UT-05:30)"},
        {time_line(at(23, 0, 0, 0)), "11:00:00 PM Zone (UT+00:00)"},
        {time_line(at(11, 59, 59, -1)), "11:59:59 AM Zone (UT+00:01)"},
        {time_line(at(12, 0, 9, 1)), "12:00:09 PM Zone (UT-00:01)"},
        {time_line(at(6, 0, 0, -30)), " 6:00:00 AM Zone (UT+00:30)"},
        {time_line(at(6, 0, 0, -60, L"Z\u00FCrich")), " 6:00:00 AM Z\x81rich (UT+01:00)"},
        {font_text(L"\u6771\u4EAC\u00E4") + font_text(std::wstring(L"a\0b\tc\x7F", 6)), "??\x84" "a?b?c?"},
        {latitude_line({0, 3, 0}) + longitude_line({0, 0, 1}), "90.000000 \xF8S180.000000 \xF8" "E"},
        {latitude_line(sydney) + longitude_line(sydney), "33.500000 \xF8S151.250000 \xF8" "E"},
        {latitude_line({0, 0, -2}) + longitude_line({0, 0, -2}), "0.000000 \xF8N0.000000 \xF8" "E"},
        {latitude_line({0, -3, 0}) + longitude_line({-1, 0, 0}), "90.000000 \xF8N90.000000 \xF8W"},
        {speed_line({0, 186282.3976 / 3964 * 0.016, 0}), "100.000000%"},  // light speed, in Earth radii per 16 ms
        {zoom_line(640 * 2, 640), "Magnification: 2.000000, Viewing range: 53\xF8 7' 48\""},
        {zoom_line(641, 640), "Magnification: 1.001562, Viewing range: 89\xF8 54' 37\""},
        {zoom_line(0, 0).substr(zoom_line(0, 0).find("V")), "Viewing range: 0\xF8 0' 0\""},
    };
    for (const auto& [got, expected] : lines) EXPECT_EQ(got, expected);
}
