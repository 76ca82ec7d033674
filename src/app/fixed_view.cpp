#include "app/fixed_view.h"

#include "app/view_ops.h"
#include "app/time_and_place.h"

namespace {

using Preset = void (*)(Camera&);
struct NamedPreset {
    const char* name;
    Preset apply;
};
constexpr NamedPreset presets[] = {
    {"centre", view_centre}, {"down", view_down}, {"up", view_up},     {"north", view_north},
    {"south", view_south},   {"east", view_east}, {"west", view_west},
};

Preset find_preset(const std::string& name)
{
    for (const NamedPreset& p : presets)
        if (name == p.name) return p.apply;
    return nullptr;
}

}  // namespace

bool is_view_preset(const std::string& look) { return find_preset(look) != nullptr; }

bool apply_view_preset(Camera& camera, const std::string& look)
{
    const Preset preset = find_preset(look);
    if (preset) preset(camera);
    return preset != nullptr;
}

void fix_view(Camera& camera, TimeState& time, const Vec3& from, const std::string& look, double zoom, int64_t instant)
{
    camera.viewpos = from;
    // From a level view facing north, looking at the centre keeps north up.
    view_north(camera);
    apply_view_preset(camera, look);
    // Magnification 1 is a zoom of the frame's width.
    set_zoom(camera, zoom * 2 * camera.xres_half);
    camera.viewvel = {0, 0, 0};
    set_clock_to(time, instant);
}
