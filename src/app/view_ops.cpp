#include "app/view_ops.h"

#include "core/constants.h"

namespace {

// The horizontal unit vector pointing east at the eye; false on the axis.
bool east_of_eye(const Camera& view, Vec3& n)
{
    const Vec3& p = view.viewpos;
    const double h2 = p.x * p.x + p.z * p.z;
    if (h2 <= 0) return false;
    const double h = std::sqrt(h2);
    n = {-p.z / h, 0, p.x / h};
    return true;
}

Vec3 up_at_eye(const Camera& view) { return view.viewpos * (1 / length(view.viewpos)); }

Vec3 normalised(Vec3 a) { return a * (1 / length(a)); }

}  // namespace

Vec3 position_at(double phi, double lambda)
{
    return {std::sin(lambda) * std::cos(phi), std::sin(phi), -std::cos(phi) * std::cos(lambda)};
}

Vec3 position_at_degrees(double lat, double lon)
{
    return position_at(-lat * radians_per_degree, lon * radians_per_degree);
}

void view_reset(View& view, TimeState& time, const CivilTime& local_clock)
{
    Camera& camera = view.camera;
    camera.viewpos = view.home.value_or(position_at(home_lat, home_lon));
    view_south(camera);
    camera.viewvel = {0, 0, 0};
    view.far_side_lines = 0;
    view.show_earth = view.show_borders = view.orbit_mode = view.auto_level = view.show_labels = 1;
    update_time(time, 1, local_clock);
}

void view_look_at(Camera& view, double dx, double dy, double dz)
{
    const double h2 = dx * dx + dz * dz;
    if (h2 <= 0) return;
    const double len = std::sqrt(h2 + dy * dy);
    const double h = std::sqrt(h2);
    view.viewfwd = {dx / len, dy / len, dz / len};
    view.viewright = {dz / h, 0, -dx / h};
    view.viewdown = cross(view.viewfwd, view.viewright);
}

void view_centre(Camera& view)
{
    const Vec3 c = cross(view.viewpos, view.viewright);
    if (c.x == 0 && c.y == 0 && c.z == 0) return;
    view.viewfwd = -up_at_eye(view);
    view.viewright = normalised(view.viewright - view.viewfwd * dot(view.viewright, view.viewfwd));
    view.viewdown = cross(view.viewfwd, view.viewright);
}

void view_down(Camera& view)
{
    Vec3 n;
    if (!east_of_eye(view, n)) return;
    view.viewfwd = -up_at_eye(view);
    view.viewright = n;
    view.viewdown = cross(view.viewfwd, view.viewright);
}

void view_up(Camera& view)
{
    Vec3 n;
    if (!east_of_eye(view, n)) return;
    view.viewfwd = up_at_eye(view);
    view.viewright = n;
    view.viewdown = cross(view.viewfwd, view.viewright);
}

void view_north(Camera& view)
{
    Vec3 n;
    if (!east_of_eye(view, n)) return;
    view.viewright = n;
    view.viewdown = -up_at_eye(view);
    view.viewfwd = cross(view.viewright, view.viewdown);
}

void view_south(Camera& view)
{
    Vec3 n;
    if (!east_of_eye(view, n)) return;
    view.viewright = -n;
    view.viewdown = -up_at_eye(view);
    view.viewfwd = cross(view.viewright, view.viewdown);
}

void view_east(Camera& view)
{
    Vec3 n;
    if (!east_of_eye(view, n)) return;
    view.viewfwd = n;
    view.viewdown = -up_at_eye(view);
    view.viewright = cross(view.viewdown, view.viewfwd);
}

void view_west(Camera& view)
{
    Vec3 n;
    if (!east_of_eye(view, n)) return;
    view.viewfwd = -n;
    view.viewdown = -up_at_eye(view);
    view.viewright = cross(view.viewdown, view.viewfwd);
}

void view_rotate(Camera& view, double a, double b, double c)
{
    const double cA = std::cos(a), sA = std::sin(a);
    const double cB = std::cos(b), sB = std::sin(b);
    const double cC = std::cos(c), sC = std::sin(c);
    const Vec3 R = view.viewright, D = view.viewdown, F = view.viewfwd;
    view.viewright = R * (cA * cC + sA * sB * sC) + D * (-sA * cB) + F * (sA * sB * cC - cA * sC);
    view.viewdown = R * (sA * cC - cA * sB * sC) + D * (cA * cB) + F * (-cA * sB * cC - sA * sC);
    view.viewfwd = R * (cB * sC) + D * sB + F * (cB * cC);
}

void view_spin(Camera& view, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    for (Vec3* v : {&view.viewpos, &view.viewright, &view.viewdown, &view.viewfwd}) {
        const double x = v->x * c - v->z * s;
        v->z = v->x * s + v->z * c;
        v->x = x;
    }
}

void set_zoom(Camera& view, double z)
{
    view.zoom = z;
    view.zoom_half = z * 0.5;
    view.corner_dist2 = view.zoom_half * view.zoom_half + view.yres_half * view.yres_half +
                        view.xres_half * view.xres_half;
}
