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

// The viewer's frames show every preset from home; these are the properties
// that hold from anywhere: rigid axes, opposite pairs and the poles left alone.
TEST(ViewOps, PresetsAndTurnsFromManyPlaces)
{
    for (const Vec3& eye : {Vec3{0.3, -0.5, -2}, Vec3{-1.5, 0.2, 0.4}, Vec3{0.01, 1.2, -0.02}}) {
        Camera v;
        v.viewpos = eye;
        view_north(v);
        const Camera north = v;
        view_south(v);
        expect_near(v.viewfwd, -north.viewfwd, "south");
        expect_near(v.viewdown, north.viewdown, "south");
        view_east(v);
        const Vec3 east = v.viewfwd;
        view_west(v);
        expect_near(v.viewfwd, -east, "west");
        view_up(v);
        expect_near(v.viewfwd, eye * (1 / length(eye)), "up");
        for (auto preset : {view_down, view_centre, view_east}) {
            preset(v);
            expect_orthonormal(v, "preset");
        }
        EXPECT_NEAR(dot(v.viewright, eye), 0, 1e-12);  // level
        const Camera before = v;
        view_spin(v, 2 * std::numbers::pi);
        expect_near(v.viewdown, before.viewdown, "spin");
        view_rotate(v, 0, 0, 0.1);
        EXPECT_NEAR(dot(v.viewfwd, before.viewright), std::sin(0.1), 1e-12);
        view_rotate(v, 0.3, 0.2, 0.1);
        expect_orthonormal(v, "rotate");
    }
    Camera pole;
    pole.viewpos = {0, -2, 0};
    view_look_at(pole, 3, -4, 0);
    expect_near(pole.viewright, {0, 0, -1}, "look at");
    for (auto preset : {view_down, view_up, view_north, view_south, view_east, view_west}) {
        Camera v = pole;
        preset(v);
        expect_near(v.viewfwd, pole.viewfwd, "on the axis", 0);
    }
}
