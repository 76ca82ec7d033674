#include <numbers>

#include "app/frame_steps.h"
#include "app/loaders.h"
#include "app/view_ops.h"
#include "platform/scan_codes.h"

namespace {

bool take_press(uint8_t* keys, uint8_t key)
{
    if (!keys[key]) return false;
    keys[key] = 0;
    return true;
}

// A 15-bit pseudo-random number, as the classic C library gives it.
int32_t rand15(uint32_t& seed)
{
    seed = seed * 214013u + 2531011u;
    return static_cast<int32_t>((seed >> 16) & 0x7fff);
}

double uniform(uint32_t& seed) { return rand15(seed) * (2.0 / 32767) - 1; }

void random_place(View& view, uint32_t& seed)
{
    const double z = uniform(seed);
    const double theta = uniform(seed) * std::numbers::pi;
    const double ring = std::sqrt(1 - z * z);
    view.viewpos = {std::cos(theta) * ring, std::sin(theta) * ring, z};
    view.viewfwd = -view.viewpos;
    const double z2 = uniform(seed);
    const double phi = uniform(seed) * std::numbers::pi;
    const double ring2 = std::sqrt(1 - z2 * z2);
    const Vec3 r = {std::cos(phi) * ring2, std::sin(phi) * ring2, z2};
    const Vec3 right = r - view.viewfwd * dot(r, view.viewfwd);
    view.viewright = right * (1 / length(right));
    view.viewdown = cross(view.viewfwd, view.viewright);
}

}  // namespace

void motion_keys(App& app)
{
    const uint8_t* keys = app.controls.key_state;
    const int32_t dt = app.controls.frame_dt;
    double s = dt / 2048.0;
    if (keys[dik::lshift]) s = dt / 512.0;
    if (keys[dik::rshift]) s = dt / 64.0;
    View& view = app.view;
    const struct {
        uint8_t key;
        Vec3 direction;
    } moves[] = {
        {dik::left, -view.viewright}, {dik::right, view.viewright}, {dik::rcontrol, -view.viewdown},
        {dik::numpad0, view.viewdown}, {dik::up, view.viewfwd},     {dik::down, -view.viewfwd},
    };
    for (const auto& move : moves) {
        if (!keys[move.key]) continue;
        if (view.orbit_mode)
            view.viewvel = view.viewvel + move.direction * s * 0.01;
        else
            view.viewpos = view.viewpos + move.direction * s;
    }
}

void preset_and_toggle_keys(App& app, Platform& platform)
{
    uint8_t* keys = app.controls.key_state;
    View& view = app.view;
    if (keys[dik::c]) view_centre(view);
    if (keys[dik::d]) view_down(view);
    if (keys[dik::z]) view_up(view);
    if (keys[dik::n]) view_north(view);
    if (keys[dik::s]) view_south(view);
    if (keys[dik::e]) view_east(view);
    if (keys[dik::w]) view_west(view);
    if (take_press(keys, dik::slash)) view_reset(view, app.time, platform.local_time());
    if (take_press(keys, dik::r)) random_place(view, app.controls.rand_seed);
    if (take_press(keys, dik::l)) load_map_data(app, platform);
    if (take_press(keys, dik::h)) view.show_earth ^= 1;
    if (take_press(keys, dik::t)) view.far_side_lines ^= 1;
    if (take_press(keys, dik::b)) view.show_borders ^= 1;
    if (take_press(keys, dik::a)) view.auto_level ^= 1;
    if (take_press(keys, dik::g)) {
        view.orbit_mode ^= 1;
        view.viewvel = {0, 0, 0};
    }
    if (take_press(keys, dik::space)) view.viewvel = {0, 0, 0};
}

void orbit_physics(App& app)
{
    View& view = app.view;
    if (!view.orbit_mode) return;
    const double r2 = dot(view.viewpos, view.viewpos);
    const double k = -0.0003 / (std::sqrt(r2) * r2);
    const double t = app.controls.frame_dt / 16.0;
    view.viewvel = view.viewvel + view.viewpos * k * t;
    view.viewpos = view.viewpos + view.viewvel * t;
}

void keep_above_ground(App& app)
{
    View& view = app.view;
    const double d = length(view.viewpos);
    if (d >= view.min_dist) return;
    view.viewpos = view.viewpos * (view.min_dist / d);
    view.viewvel = view.viewvel * std::pow(0.99, app.controls.frame_dt);
}

void free_buffers(App& app)
{
    app.spans = Spans{};
    app.stars = Stars{};
    app.shore = Shore{};
    app.borders = Borders{};
    app.texture = Texture{};
}
