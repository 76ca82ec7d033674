#include "sky/sky.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <numeric>

#include "raster/text.h"
#include "sky/ephemeris.h"

namespace {

constexpr uint8_t label_colour = 31;

// Screen positions of bodies may lie far off screen (or be infinite right
// beside the viewer); they are kept where every test against the frame still
// fails before they become integers.
int32_t screen_coord(double v)
{
    constexpr double limit = 1 << 30;
    if (!(v > -limit)) return -(1 << 30);
    if (v > limit) return 1 << 30;
    return static_cast<int32_t>(std::nearbyint(v));
}

double dist2(const Vec3* view_pos, int32_t k)
{
    Vec3 d = view_pos[k] - view_pos[moon_index];
    return d.x * d.x + d.y * d.y + d.z * d.z;
}

}  // namespace

SkyCamera sky_camera(const Camera& view, const FrameBuffer& frame, double sidereal_angle)
{
    double c = std::cos(sidereal_angle);
    double s = std::sin(sidereal_angle);
    double xres = frame.frame_xres;
    double yres = frame.frame_yres;
    return {turn_about_y(view.viewright, c, s), turn_about_y(view.viewdown, c, s), turn_about_y(view.viewfwd, c, s),
            view.zoom / std::sqrt(view.zoom * view.zoom + xres * xres + yres * yres)};
}

void draw_dot(const FrameBuffer& frame, int32_t sx, int32_t sy, uint8_t colour)
{
    for (int32_t y = sy - 1; y <= sy + 1; ++y) {
        if (y < 0 || y >= frame.frame_yres) continue;
        uint8_t* row = frame.row(y);
        for (int32_t x = sx - 1; x <= sx + 1; ++x) {
            if (x < 0 || x >= frame.frame_xres) continue;
            if (row[x] < (colour & 63)) row[x] = colour;
        }
    }
}

void draw_label(const FrameBuffer& frame, int32_t sx, int32_t sy, const char* name)
{
    int32_t len = static_cast<int32_t>(std::strlen(name));
    int32_t x = sx - 2 * len;
    int32_t y = sy - 8;
    if (x >= 0 && y >= 0 && x + 4 * len < frame.frame_xres && y + 6 < frame.frame_yres)
        drawtext(frame, x, y, label_colour, no_background, name);
}

void draw_sky(const Camera& view, const FrameBuffer& frame, Spans& spans, const Instant& time,
              const Stars& stars, bool labels)
{
    SkyCamera cam = sky_camera(view, frame, time.sidereal_angle);
    draw_stars(view, frame, cam, stars);

    // View coordinates of the heliocentric positions; entry 2 is the viewer.
    Vec3 at[num_bodies];
    for (int32_t k = num_bodies - 1; k >= 0; --k) {
        Vec3 p = planet_position(k, time, view.viewpos);
        at[k] = {dot(p, cam.right), dot(p, cam.down), dot(p, cam.fwd)};
    }

    // Nearest first; drawn farthest first so that nearer bodies cover farther
    // ones. The viewer's own entry (distance 0) stands for the Moon.
    int32_t order[num_bodies];
    std::iota(std::begin(order), std::end(order), 0);
    std::stable_sort(std::begin(order), std::end(order), [&](int32_t a, int32_t b) { return dist2(at, a) < dist2(at, b); });

    bool magnified = view.zoom >= 4.0 * frame.frame_xres;
    for (int32_t i = num_bodies - 1; i >= 0; --i) {
        int32_t k = order[i];
        Vec3 p;
        if (k == moon_index) {
            Vec3 m = moon_position(time, view.viewpos);
            p = {dot(m, cam.right), dot(m, cam.down), dot(m, cam.fwd)};
            if (!(p.z >= 0)) continue;
        } else {
            p = at[k] - at[moon_index];
            if (!(p.z >= cam.corner_cos)) continue;
        }
        double scale = view.zoom_half / p.z;
        int32_t sx = screen_coord(p.x * scale + view.xres_half);
        int32_t sy = screen_coord(p.y * scale + view.yres_half);
        // Nothing of a body shows where the Earth is in front of it, nor the
        // name of one wholly hidden.
        bool seen = false;
        if (k == moon_index || k == sun_index || magnified) {
            seen = draw_disc(view, frame, spans, p, at[sun_index] - at[k], body_diameter[k], body_colour[k]) > 0 ||
                   !earth_covers(view, sx, sy, p.z);
        } else if (!earth_covers(view, sx, sy, p.z)) {
            draw_dot(frame, sx, sy, body_colour[k]);
            seen = true;
        }
        if (labels && seen) draw_label(frame, sx, sy, body_names[k]);
    }
}
