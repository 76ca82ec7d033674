#pragma once
#include <cstdint>

// The frame of a page whose frame follows the page: one frame pixel a CSS
// pixel (device pixels would cost too much on a phone), except on a small
// screen, where the status lines' six-pixel glyphs would be too small to
// read: there a frame pixel covers about one and a half CSS pixels, rounded up
// to whole device pixels so that nearest-neighbour scaling stays even, as
// long as the frame keeps the width of the longest status line.
struct PageFrameSize {
    int32_t width = 1, height = 1;
};
PageFrameSize page_frame_size(double css_width, double css_height, double device_pixel_ratio);

// Screens whose shorter side has fewer CSS pixels than this count as small.
inline constexpr double small_screen_side = 600;
// The widest status line (the magnification's) in frame pixels, with a margin.
inline constexpr double status_line_width = 216;
// Beyond this many pixels a side the frame stops growing with the page.
inline constexpr int32_t largest_page_frame_side = 8192;
