#include "app/view_ops.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

void expect_near(const Vec3& a, const Vec3& b, const char* what, double tolerance = 1e-12)
{
    EXPECT_NEAR(length(a - b), 0, tolerance) << what;
}

void expect_orthonormal(const Camera& v, const char* what)
{
    for (const Vec3& axis : {v.viewright, v.viewdown, v.viewfwd}) EXPECT_NEAR(length(axis), 1, 1e-12) << what;
    expect_near(cross(v.viewfwd, v.viewright), v.viewdown, what);
}

}  // namespace

// The frames of the viewer show every preset; these are the properties that
// hold from any place: rigid axes, symmetric pairs and the poles left alone.
TEST(ViewOps, PresetsAndTurnsFromManyPlaces)
{
    View home;
    TimeState time;
    time.time_manual = 1;
    home.show_earth = home.orbit_mode = 0;
    home.camera.viewvel = {1, 2, 3};
    view_reset(home, time, CivilTime{2001, 2, 3, 4, 5, 6});
    expect_near(home.camera.viewpos, position_at_degrees(41.6611, -71.4845), "home", 1e-6);
    EXPECT_NEAR(dot(home.camera.viewfwd, home.camera.viewpos), 0, 1e-15);
    EXPECT_NEAR(dot(home.camera.viewright, home.camera.viewpos), 0, 1e-15);
    EXPECT_GT(home.camera.viewfwd.y, 0);  // south, away from the North Pole
    EXPECT_TRUE(home.show_earth && home.orbit_mode && !time.time_manual && time.clock_second == 6);
    expect_near(home.camera.viewvel, {0, 0, 0}, "at rest");

    for (const Vec3& eye : {Vec3{0.3, -0.5, -2}, Vec3{-1.5, 0.2, 0.4}, Vec3{0.01, 1.2, -0.02}, home.camera.viewpos}) {
        Camera v = home.camera;
        v.viewpos = eye;
        view_north(v);
        const Camera north = v;
        view_south(v);
        expect_near(v.viewfwd, -north.viewfwd, "south");
        expect_near(v.viewdown, north.viewdown, "south");
        view_east(v);
        const Camera east = v;
        view_west(v);
        expect_near(v.viewfwd, -east.viewfwd, "west");
        view_down(v);
        expect_near(v.viewfwd, eye * (-1 / length(eye)), "down");
        view_up(v);
        expect_near(v.viewfwd, eye * (1 / length(eye)), "up");
        for (auto preset : {view_down, view_up, view_centre, view_north, view_east}) {
            preset(v);
            expect_orthonormal(v, "preset");
        }
        EXPECT_NEAR(dot(v.viewright, eye), 0, 1e-12);  // level
        const Camera before = v;
        view_spin(v, 2 * std::numbers::pi);
        expect_near(v.viewpos, before.viewpos, "spin");
        expect_near(v.viewdown, before.viewdown, "spin");
        view_spin(v, std::numbers::pi / 2);
        EXPECT_NEAR(v.viewpos.x, -before.viewpos.z, 1e-15);
        v = before;
        view_rotate(v, 0, 0, 0.1);
        EXPECT_NEAR(dot(v.viewfwd, before.viewright), std::sin(0.1), 1e-12);
        v = before;
        view_rotate(v, 0, 0.2, 0);
        EXPECT_NEAR(dot(v.viewfwd, before.viewdown), std::sin(0.2), 1e-12);
        view_rotate(v, 0.3, 0.2, 0.1);
        expect_orthonormal(v, "rotate");
    }

    Camera pole = home.camera;
    pole.viewpos = {0, -2, 0};
    view_look_at(pole, 0, 1, 0);
    for (auto preset : {view_down, view_up, view_north, view_south, view_east, view_west}) {
        Camera v = pole;
        preset(v);
        expect_near(v.viewfwd, pole.viewfwd, "on the axis", 0);
        expect_near(v.viewright, pole.viewright, "on the axis", 0);
    }
    view_look_at(pole, 3, -4, 0);
    expect_near(pole.viewfwd, {0.6, -0.8, 0}, "look at");
    expect_near(pole.viewright, {0, 0, -1}, "look at");
}
