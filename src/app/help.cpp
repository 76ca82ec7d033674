#include "app/help.h"

#include <algorithm>
#include <cstring>

#include "raster/text.h"

namespace {

constexpr int32_t glyph_width = 4, glyph_height = 6, line_height = 8;
// Below the status lines at the top, above the speed line at the bottom.
constexpr int32_t top = 48, bottom_margin = 14;
constexpr char hint[] = "F1: help";

const std::vector<HelpGroup> groups = {
    {"Look and move",
     {"mouse: turn (slower when magnified)", "right button + sideways: roll", "wheel: zoom 10% a notch",
      "keypad * /, PgUp PgDn: zoom in / out", "keypad 5, Home: magnification 1",
      "arrows, right Ctrl, keypad 0, Insert: move,", "  thrust in orbit (left Shift x4, right x32)",
      ", .: spin about the Earth's axis (Shift faster)", "C D Z: look at the centre / down / up",
      "N S E W: look level north / south / east / west", "/: home view, clock follows the local time",
      "R: a random place", "A: auto-level on / off", "G: orbit mode on / off", "Space: stop"}},
    {"Time",
     {"- =: time of day back / forward", "  left Shift a minute a press, Alt a day", "[ ]: date back / forward a day",
      "  left Shift once a press, right Shift a", "  sidereal day, Alt a year (x10 with Shift)"}},
    {"Tracking and events",
     {"1 ... 9, 0 held: track Mercury, Venus, Moon,", "  Mars, Jupiter, Saturn, Uranus, Neptune,",
      "  Pluto, Sun", "\\ with a digit held: the body's next rising,", "  meridian passage or setting",
      "Shift \\ with 0 held: the equinox"}},
    {"Show and hide",
     {"H: the Earth", "B: the borders", "T: lines on the far side too", "`: names of the Sun, Moon and planets",
      "I: Day and night", "K: Sky behind the globe", "Caps Lock held: the shoreline caps", "F1: this help"}},
    {"Files and quit", {"L: reload the shoreline and border files", "F12: save the frame as GLOB0000.PCX, ...",
                        "Escape: quit"}},
};
const HelpGroup touch_group = {
    "Touch", {"one finger drag: turn", "two-finger pinch / spread: zoom", "two-finger twist: roll"}};

int32_t group_height(const HelpGroup& g) { return static_cast<int32_t>(g.lines.size() + 2) * line_height; }

int32_t group_width(const HelpGroup& g)
{
    size_t widest = std::strlen(g.title);
    for (const char* line : g.lines) widest = std::max(widest, std::strlen(line));
    return static_cast<int32_t>(widest) * glyph_width;
}

size_t entries(const std::vector<HelpGroup>& groups)
{
    size_t n = 0;
    for (const HelpGroup& g : groups) n += g.lines.size() + 1;
    return n;
}

// Groups down columns ending at bottom, a group kept whole in its column,
// until one does not fit the frame.
std::vector<HelpText> flow(const std::vector<HelpGroup>& groups, int32_t column_width, int32_t frame_xres,
                           int32_t bottom)
{
    std::vector<HelpText> out;
    int32_t x = glyph_width, y = top;
    for (const HelpGroup& g : groups) {
        if (y + group_height(g) - line_height > bottom && y > top) {
            x += column_width;
            y = top;
        }
        if (x + group_width(g) > frame_xres || y + group_height(g) - line_height > bottom) break;
        out.push_back({x, y, g.title});
        for (size_t i = 0; i < g.lines.size(); ++i)
            out.push_back({x, y + static_cast<int32_t>(i + 1) * line_height, g.lines[i]});
        y += group_height(g);
    }
    return out;
}

}  // namespace

std::vector<HelpGroup> help_groups(bool touch)
{
    std::vector<HelpGroup> all = groups;
    if (touch) all.push_back(touch_group);
    return all;
}

std::vector<HelpText> help_layout(const std::vector<HelpGroup>& groups, int32_t frame_xres, int32_t frame_yres)
{
    int32_t column_width = 0, tallest = 0;
    for (const HelpGroup& g : groups) {
        column_width = std::max(column_width, group_width(g) + 2 * glyph_width);
        tallest = std::max(tallest, group_height(g));
    }
    // The shortest columns that take every group, so that a wider frame
    // spreads the groups over more columns; else as many as fit.
    const int32_t lowest = frame_yres - bottom_margin;
    for (int32_t bottom = top + tallest - line_height; bottom < lowest; bottom += line_height) {
        std::vector<HelpText> laid = flow(groups, column_width, frame_xres, bottom);
        if (laid.size() == entries(groups)) return laid;
    }
    return flow(groups, column_width, frame_xres, lowest);
}

void draw_help(const FrameBuffer& frame, bool touch)
{
    for (const HelpText& t : help_layout(help_groups(touch), frame.frame_xres, frame.frame_yres))
        drawtext(frame, t.x, t.y, 31, 0, t.text);
}

void draw_help_hint(const FrameBuffer& frame)
{
    const int32_t width = static_cast<int32_t>(sizeof hint - 1) * glyph_width;
    if (frame.frame_xres < width || frame.frame_yres < glyph_height) return;
    drawtext(frame, frame.frame_xres - width, frame.frame_yres - glyph_height, 31, no_background, hint);
}
