#include "app/frame_steps.h"
#include "app/view_ops.h"
#include "platform/scan_codes.h"
#include "sky/calendar.h"

namespace {

bool alt_down(const uint8_t* keys) { return keys[dik::lalt] || keys[dik::ralt]; }

double smoothed(double value, int32_t raw)
{
    value += (raw - value) * 0.2;
    return std::fabs(value) < 1e-13 ? 0 : value;
}

// Sets the zoom, stopping exactly at magnification 1 when the change reaches
// or crosses it; true when it stopped there.
bool zoom_towards(Camera& camera, int32_t frame_xres, double next)
{
    const double old = camera.zoom;
    const double w = frame_xres;
    if ((old < w && w <= next) || (next <= w && w < old)) {
        set_zoom(camera, w);
        return true;
    }
    set_zoom(camera, next);
    return false;
}

}  // namespace

TurnAngles smooth_mouse(Controls& c, const View& view, int32_t frame_xres, int32_t dx, int32_t dy)
{
    c.mouse_dx_smooth = smoothed(c.mouse_dx_smooth, dx);
    c.mouse_dy_smooth = smoothed(c.mouse_dy_smooth, dy);
    const double mx = c.mouse_dx_smooth, my = c.mouse_dy_smooth;
    TurnAngles turn;
    const int32_t w = frame_xres;
    if (w != -1) {
        turn.yaw = w * mx / (view.camera.zoom * 128);
        turn.pitch = w * my / (view.camera.zoom * -128);
    }
    if (c.mouse_buttons & 2) {
        turn.roll = mx * (-1.0 / 128);
        turn.yaw = 0;
    } else if (view.show_earth && view.auto_level) {
        const double r2 = dot(view.camera.viewpos, view.camera.viewpos);
        if (r2 < 16) turn.roll = dot(view.camera.viewpos, view.camera.viewright) / (r2 * dot(view.camera.viewright, view.camera.viewright) * -8);
    }
    return turn;
}

void time_of_day_keys(uint8_t* keys, TimeState& t)
{
    if (!keys[dik::equals] && !keys[dik::minus]) return;
    const int32_t d = keys[dik::equals] - keys[dik::minus];
    if (alt_down(keys)) {
        t.clock_day += d;
        keys[dik::equals] = keys[dik::minus] = 0;
    } else {
        t.clock_second = 0;
        if (keys[dik::lshift]) {
            t.clock_minute += d;
            keys[dik::equals] = keys[dik::minus] = 0;
        } else {
            t.clock_minute += 2 * d;
        }
    }
    t.time_manual = 1;
    update_time(t, 0, CivilTime{});
}

void date_keys(uint8_t* keys, TimeState& t)
{
    if (!keys[dik::rbracket] && !keys[dik::lbracket]) return;
    const int32_t d = keys[dik::rbracket] - keys[dik::lbracket];
    if (alt_down(keys)) {
        t.clock_year += (keys[dik::lshift] || keys[dik::rshift]) ? 10 * d : d;
        keys[dik::rbracket] = keys[dik::lbracket] = 0;
    } else {
        const int before = is_daylight_time(t.clock_year, t.clock_month, t.clock_day, t.clock_hour, t.tzinfo);
        date_from_days(days_from_date(t.clock_year, t.clock_month, t.clock_day) + d, t.clock_year, t.clock_month,
                       t.clock_day);
        const int after = is_daylight_time(t.clock_year, t.clock_month, t.clock_day, t.clock_hour, t.tzinfo);
        if (before != after) t.clock_hour += before ? -1 : 1;
        if (keys[dik::rshift]) {
            // One sidereal day, 23 h 56 min 4 s, keeps the stars in place.
            t.clock_minute -= 4 * d;
            t.clock_second += 4 * d;
        }
        if (keys[dik::lshift]) keys[dik::rbracket] = keys[dik::lbracket] = 0;
    }
    t.time_manual = 1;
    update_time(t, 0, CivilTime{});
}

void spin_keys(const uint8_t* keys, Camera& camera)
{
    const int32_t d = keys[dik::period] - keys[dik::comma];
    if (d == 0) return;
    view_spin(camera, d * (keys[dik::lshift] + 1) * (3 * keys[dik::rshift] + 1) / 128.0);
}

void zoom_keys(uint8_t* keys, View& view, int32_t frame_xres)
{
    if (!keys[dik::multiply] && !keys[dik::divide]) {
        view.zoom_latch = false;
    } else if (!view.zoom_latch && frame_xres != -1) {
        if (zoom_towards(view.camera, frame_xres, view.camera.zoom * (1 + (keys[dik::multiply] - keys[dik::divide]) * 0.02)))
            view.zoom_latch = true;
    }
    if (keys[dik::numpad5]) {
        keys[dik::numpad5] = 0;
        if (frame_xres != -1) {
            set_zoom(view.camera, frame_xres);
            view.zoom_latch = true;
        }
    }
}

void zoom_wheel(View& view, int32_t frame_xres, int32_t notches)
{
    if (frame_xres == -1 || notches == 0) return;
    // A quick turn of the wheel still stops at magnification 1 for this frame.
    bool stopped = false;
    for (; notches > 0 && !stopped; --notches) stopped = zoom_towards(view.camera, frame_xres, view.camera.zoom * 1.1);
    for (; notches < 0 && !stopped; ++notches) stopped = zoom_towards(view.camera, frame_xres, view.camera.zoom / 1.1);
    view.zoom_latch = stopped;
}

void two_fingers(View& view, int32_t frame_xres, int32_t mouse_buttons, const TwoFingers& fingers, TurnAngles& turn)
{
    // While they are down the fingers hold the roll, as the right button does.
    if (fingers.down && !(mouse_buttons & 2)) turn.roll = 0;
    if (std::isfinite(fingers.twist)) turn.roll += fingers.twist;
    const bool spread = fingers.spread != 1 && fingers.spread > 0 && std::isfinite(fingers.spread);
    if (spread && !view.pinch_latch && frame_xres != -1 && zoom_towards(view.camera, frame_xres, view.camera.zoom * fingers.spread))
        view.pinch_latch = true;
    if (!fingers.down) view.pinch_latch = false;
}
