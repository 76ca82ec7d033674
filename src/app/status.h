#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/vec3.h"
#include "app/view.h"
#include "core/frame_buffer.h"
#include "sky/clock.h"

// The status overlay: date, local time with the zone, and in orbit mode the
// eye's place and speed, plus the field of view while zoomed. Each line is
// text in the built-in font's code page (character 248 is the degree sign).

struct StatusLine {
    int32_t y = 0;  // top row of the text
    std::string text;
};

std::string date_line(const TimeState& time);
std::string time_line(const TimeState& time);
std::string latitude_line(const Vec3& viewpos);
std::string longitude_line(const Vec3& viewpos);
std::string speed_line(const Vec3& viewvel);
std::string zoom_line(double zoom, int32_t frame_xres);

// A zone name as bytes of the font: ASCII as it is, the accented letters and
// signs the font has in their own codes, anything else as '?'.
std::string font_text(const std::wstring& name);

// The lines of this frame in drawing order, with their rows.
std::vector<StatusLine> status_lines(const FrameBuffer& frame, const View& view, const TimeState& time);

// Draws the lines at column 0 in colour 31 over the picture. A line is cut
// at the right edge of the frame, and one whose row does not fit is left out.
void draw_status(const FrameBuffer& frame, const View& view, const TimeState& time);
