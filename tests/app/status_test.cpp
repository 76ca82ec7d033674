#include "app/status.h"

#include <gtest/gtest.h>

#include <vector>

#include "../sky/zone_scope.h"
#include "platform/time_zone.h"

namespace {

const int64_t mid_january_2000 = 947894400;  // 2000-01-15 00:00 UT

TimeState clock_at(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s, const TimeZoneInfo& tz)
{
    TimeState t;
    t.tzinfo = tz;
    set_clock(t, {y, mo, d, h, mi, s});
    return t;
}

TimeZoneInfo fixed_zone(long bias)
{
    TimeZoneInfo tz;
    tz.Bias = bias;
    tz.StandardName = L"Test Standard Time";
    tz.DaylightName = L"Test Daylight Time";
    return tz;
}

View orbit_view(Vec3 pos, double zoom)
{
    View v;
    v.orbit_mode = 1;
    v.camera.viewpos = pos;
    v.camera.zoom = zoom;
    return v;
}

}  // namespace

TEST(Status, DateAndTimeLines)
{
    TimeZoneInfo tz = fixed_zone(0);
    EXPECT_EQ(date_line(clock_at(2000, 2, 29, 0, 0, 0, tz)), "FEBRUARY 29, 2000 (TUESDAY)");
    EXPECT_EQ(date_line(clock_at(2024, 9, 11, 0, 0, 0, tz)), "SEPTEMBER 11, 2024 (WEDNESDAY)");

    ZoneScope zone("UTC");
    tz = fixed_zone(300);
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 0, 0, 0, tz)), "12:00:00 AM Test Standard Time (UT-05:00)");
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 12, 0, 0, tz)), "12:00:00 PM Test Standard Time (UT-05:00)");
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 13, 5, 7, tz)), " 1:05:07 PM Test Standard Time (UT-05:00)");
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 23, 0, 0, tz)), "11:00:00 PM Test Standard Time (UT-05:00)");

    const TimeState one_east = clock_at(2000, 1, 1, 6, 0, 0, fixed_zone(-60));
    EXPECT_EQ(time_line(one_east), " 6:00:00 AM Test Standard Time (UT+01:00)");
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 6, 0, 0, fixed_zone(0))), " 6:00:00 AM Test Standard Time (UT+00:00)");
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 6, 0, 0, fixed_zone(330))), " 6:00:00 AM Test Standard Time (UT-05:30)");
    // The standard bias counts too.
    tz = fixed_zone(-60);
    tz.StandardBias = 30;
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 6, 0, 0, tz)), " 6:00:00 AM Test Standard Time (UT+00:30)");
}

TEST(Status, ZoneNameAndBiasFollowDaylightTime)
{
    ZoneScope zone("America/New_York");
    const TimeZoneInfo tz = machine_time_zone_at(mid_january_2000);
    EXPECT_EQ(time_line(clock_at(2000, 4, 2, 1, 59, 0, tz)), " 1:59:00 AM EST (UT-05:00)");
    EXPECT_EQ(time_line(clock_at(2000, 4, 2, 2, 0, 0, tz)), " 2:00:00 AM EDT (UT-04:00)");
    EXPECT_EQ(time_line(clock_at(2000, 10, 29, 1, 0, 0, tz)), " 1:00:00 AM EST (UT-05:00)");
}

TEST(Status, ZoneNamesInTheFontsCodePage)
{
    EXPECT_EQ(font_text(L"Mitteleurop\u00E4ische Zeit"), "Mitteleurop\x84ische Zeit");
    // Characters the font lacks, control codes and NUL become '?' so the
    // name is never cut short.
    EXPECT_EQ(font_text(L"\u6771\u4EAC"), "??");
    EXPECT_EQ(font_text(std::wstring(L"a\0b\tc\x7F", 6)), "a?b?c?");

    ZoneScope zone("UTC");
    TimeZoneInfo tz = fixed_zone(-60);
    tz.StandardName = L"Z\u00FCrich";
    EXPECT_EQ(time_line(clock_at(2000, 1, 1, 6, 0, 0, tz)), " 6:00:00 AM Z\x81rich (UT+01:00)");
}

TEST(Status, LatitudeAndLongitude)
{
    // North is -y; longitude 0 on the equator is -z; east is +x.
    EXPECT_EQ(latitude_line({0, -2, 0}), "90.000000 \xF8N");
    EXPECT_EQ(latitude_line({0, 3, 0}), "90.000000 \xF8S");
    EXPECT_EQ(latitude_line({0, -1, -1}), "45.000000 \xF8N");
    EXPECT_EQ(longitude_line({-1, 0, 0}), "90.000000 \xF8W");
    EXPECT_EQ(longitude_line({0, 0, 1}), "180.000000 \xF8"
                                         "E");
    EXPECT_EQ(longitude_line({-1, 0, 1}), "135.000000 \xF8W");
    // New York, 40.7128 N 74.0060 W, seen from 2 Earth radii.
    const double lat = -40.7128 * 3.141592653589793 / 180, lon = -74.0060 * 3.141592653589793 / 180;
    const Vec3 ny{2 * std::sin(lon) * std::cos(lat), 2 * std::sin(lat), -2 * std::cos(lat) * std::cos(lon)};
    EXPECT_EQ(latitude_line(ny), "40.712800 \xF8N");
    EXPECT_EQ(longitude_line(ny), "74.006000 \xF8W");
}

TEST(Status, SpeedAsPercentOfLight)
{
    const double light = 186282.3976 / 3964 * 0.004;  // Earth radii per 4 ms
    EXPECT_EQ(speed_line({0, 0, 0}), "0.000000%");
    EXPECT_EQ(speed_line({0, light, 0}), "100.000000%");
    EXPECT_EQ(speed_line({0.001, 0, 0}), "0.531988%");
}

TEST(Status, ZoomLine)
{
    EXPECT_EQ(zoom_line(640 * 2, 640), "Magnification: 2.000000, Viewing range: 53\xF8 7' 48\"");
    EXPECT_EQ(zoom_line(640 * 4, 640), "Magnification: 4.000000, Viewing range: 28\xF8 4' 20\"");
    // Just past 1: 89 degrees and a fraction, truncated field by field
    // (1.0015625 rounds to even).
    EXPECT_EQ(zoom_line(641, 640), "Magnification: 1.001562, Viewing range: 89\xF8 54' 37\"");
    // A degenerate zoom still gives a line, with no angle made up.
    EXPECT_NE(zoom_line(0, 0).find("Viewing range: 0\xF8 0' 0\""), std::string::npos);
}

TEST(Status, LinesRowsAndOrder)
{
    ZoneScope zone("UTC");
    FrameBuffer frame;
    frame.frame_xres = 640;
    frame.frame_yres = 480;
    const TimeState t = clock_at(2000, 1, 1, 0, 0, 0, fixed_zone(0));

    View v = orbit_view({0, 0, -2}, 640);
    std::vector<int32_t> rows;
    for (const StatusLine& line : status_lines(frame, v, t)) rows.push_back(line.y);
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 8, 16, 24, 474}));

    v.camera.zoom = 2560;
    rows.clear();
    std::vector<StatusLine> lines = status_lines(frame, v, t);
    for (const StatusLine& line : lines) rows.push_back(line.y);
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 8, 16, 24, 474, 32}));
    EXPECT_EQ(lines[4].text, "0.000000%");
    EXPECT_EQ(lines[5].text, zoom_line(2560, 640));

    v.orbit_mode = 0;
    rows.clear();
    for (const StatusLine& line : status_lines(frame, v, t)) rows.push_back(line.y);
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 8, 32}));
}

namespace {

struct TestFrame {
    static constexpr int32_t pitch = 72;
    std::vector<uint8_t> pixels;
    FrameBuffer frame;

    TestFrame(int32_t xres, int32_t yres) : pixels(static_cast<size_t>(pitch * yres), 7)
    {
        frame.frame_ptr = pixels.data();
        frame.frame_pitch = pitch;
        frame.frame_xres = xres;
        frame.frame_yres = yres;
        for (int32_t y = 0; y < yres; ++y) frame.row_offset.push_back(y * pitch);
    }
    uint8_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * pitch + x)]; }
};

}  // namespace

TEST(Status, DrawnInColour31WithinTheTextCells)
{
    ZoneScope zone("UTC");
    // 64 pixels hold 16 characters: every line is cut there.
    TestFrame f(64, 50);
    const TimeState t = clock_at(2000, 1, 1, 0, 0, 0, fixed_zone(0));
    const View v = orbit_view({0, 0, -2}, 256);
    draw_status(f.frame, v, t);

    std::vector<int> colored_rows(50, 0);
    for (int32_t y = 0; y < 50; ++y) {
        const bool text_row = (y < 38 && y % 8 < 6) || y >= 44;
        for (int32_t x = 0; x < TestFrame::pitch; ++x) {
            const uint8_t p = f.at(x, y);
            if (text_row && x < 64) {
                EXPECT_TRUE(p == 7 || p == 31) << x << ',' << y;
            } else {
                EXPECT_EQ(p, 7) << x << ',' << y;
            }
            colored_rows[static_cast<size_t>(y)] += p == 31;
        }
    }
    for (int32_t top : {0, 8, 16, 24, 32, 44}) {
        int lit = 0;
        for (int32_t r = 0; r < 6; ++r) lit += colored_rows[static_cast<size_t>(top + r)];
        EXPECT_GT(lit, 10) << top;
    }
}

TEST(Status, RowsThatDoNotFitAreLeftOut)
{
    ZoneScope zone("UTC");
    // 20 rows: the latitude line (16..21), the longitude and the zoom line do
    // not fit; the speed line takes rows 14..19 (its glyphs leave row 19 blank).
    TestFrame f(40, 20);
    const TimeState t = clock_at(2000, 1, 1, 0, 0, 0, fixed_zone(0));
    draw_status(f.frame, orbit_view({0, 0, -2}, 80), t);
    int speed_pixels = 0;
    for (int32_t x = 0; x < TestFrame::pitch; ++x) {
        for (int32_t y = 14; y < 19; ++y) speed_pixels += f.at(x, y) == 31;
        EXPECT_EQ(f.at(x, 19), 7) << x;
    }
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 40; x < TestFrame::pitch; ++x) EXPECT_EQ(f.at(x, y), 7) << x << ',' << y;
    }
    EXPECT_GT(speed_pixels, 0);

    // Frames smaller than one cell get nothing at all.
    TestFrame tiny(3, 5);
    draw_status(tiny.frame, orbit_view({0, 0, -2}, 80), t);
    for (uint8_t p : tiny.pixels) EXPECT_EQ(p, 7);
}
