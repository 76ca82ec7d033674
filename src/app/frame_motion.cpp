#include <algorithm>
#include <numbers>

#include "app/frame_steps.h"
#include "app/loaders.h"
#include "app/view_ops.h"
#include "core/random15.h"
#include "platform/scan_codes.h"

namespace {

bool take_press(uint8_t* keys, uint8_t key)
{
    if (!keys[key]) return false;
    keys[key] = 0;
    return true;
}

double uniform(uint32_t& seed) { return rand15(seed) * (2.0 / 32767) - 1; }

void random_place(View& view, uint32_t& seed)
{
    const double z = uniform(seed);
    const double theta = uniform(seed) * std::numbers::pi;
    const double ring = std::sqrt(1 - z * z);
    view.camera.viewpos = {std::cos(theta) * ring, std::sin(theta) * ring, z};
    view.camera.viewfwd = -view.camera.viewpos;
    const double z2 = uniform(seed);
    const double phi = uniform(seed) * std::numbers::pi;
    const double ring2 = std::sqrt(1 - z2 * z2);
    const Vec3 r = {std::cos(phi) * ring2, std::sin(phi) * ring2, z2};
    const Vec3 right = r - view.camera.viewfwd * dot(r, view.camera.viewfwd);
    view.camera.viewright = right * (1 / length(right));
    view.camera.viewdown = cross(view.camera.viewfwd, view.camera.viewright);
}

}  // namespace

void motion_keys(const uint8_t* keys, View& view, int32_t dt)
{
    double s = dt / 2048.0;
    if (keys[dik::lshift]) s = dt / 512.0;
    if (keys[dik::rshift]) s = dt / 64.0;
    const struct {
        uint8_t key;
        Vec3 direction;
    } moves[] = {
        {dik::left, -view.camera.viewright}, {dik::right, view.camera.viewright}, {dik::rcontrol, -view.camera.viewdown},
        {dik::numpad0, view.camera.viewdown}, {dik::up, view.camera.viewfwd},     {dik::down, -view.camera.viewfwd},
    };
    for (const auto& move : moves) {
        if (!keys[move.key]) continue;
        if (view.orbit_mode)
            view.camera.viewvel = view.camera.viewvel + move.direction * s * 0.01;
        else
            view.camera.viewpos = view.camera.viewpos + move.direction * s;
    }
}

void preset_and_toggle_keys(App& app, Platform& platform)
{
    uint8_t* keys = app.controls.key_state;
    View& view = app.view;
    if (keys[dik::c]) view_centre(view.camera);
    if (keys[dik::d]) view_down(view.camera);
    if (keys[dik::z]) view_up(view.camera);
    if (keys[dik::n]) view_north(view.camera);
    if (keys[dik::s]) view_south(view.camera);
    if (keys[dik::e]) view_east(view.camera);
    if (keys[dik::w]) view_west(view.camera);
    if (take_press(keys, dik::slash)) view_reset(view, app.time, platform.local_time());
    if (take_press(keys, dik::r)) random_place(view, app.controls.rand_seed);
    if (take_press(keys, dik::l)) load_map_data(app, platform);
    if (take_press(keys, dik::h)) view.show_earth ^= 1;
    if (take_press(keys, dik::t)) view.far_side_lines ^= 1;
    if (take_press(keys, dik::k)) view.sky = !view.sky;
    if (take_press(keys, dik::i)) view.night = !view.night;
    if (take_press(keys, dik::b)) view.show_borders ^= 1;
    if (take_press(keys, dik::a)) view.auto_level ^= 1;
    if (take_press(keys, dik::g)) {
        view.orbit_mode ^= 1;
        view.camera.viewvel = {0, 0, 0};
    }
    if (take_press(keys, dik::space)) view.camera.viewvel = {0, 0, 0};
    if (take_press(keys, dik::f1)) view.show_help ^= 1;
}

void orbit_physics(View& view, int32_t dt)
{
    if (!view.orbit_mode) return;
    const double r2 = dot(view.camera.viewpos, view.camera.viewpos);
    const double k = -0.0003 / (std::sqrt(r2) * r2);
    const double t = dt / 16.0;
    view.camera.viewvel = view.camera.viewvel + view.camera.viewpos * k * t;
    view.camera.viewpos = view.camera.viewpos + view.camera.viewvel * t;
}

void keep_above_ground(View& view, int32_t dt)
{
    const double d = length(view.camera.viewpos);
    if (d >= view.min_dist) return;
    view.camera.viewpos = view.camera.viewpos * (view.min_dist / d);
    view.camera.viewvel = view.camera.viewvel * std::pow(0.99, dt);
}

void move_eye(App& app, Platform& platform)
{
    const int32_t total = std::min(app.controls.frame_dt, max_motion_ms);
    int32_t done = 0;
    do {
        const int32_t step = std::min(total - done, motion_step_ms);
        motion_keys(app.controls.key_state, app.view, step);
        if (done == 0) preset_and_toggle_keys(app, platform);
        orbit_physics(app.view, step);
        keep_above_ground(app.view, step);
        done += step;
    } while (done < total);
}

void free_buffers(App& app)
{
    app.spans = Spans{};
    app.stars = Stars{};
    app.shore = Shore{};
    app.borders = Borders{};
    app.texture = Texture{};
}
