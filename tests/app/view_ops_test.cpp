#include <gtest/gtest.h>

#include <numbers>

#include "app/view_ops.h"

namespace {

void expect_near(const Vec3& a, const Vec3& b, double tolerance = 1e-12)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

void expect_orthonormal(const Camera& v)
{
    EXPECT_NEAR(length(v.viewright), 1, 1e-12);
    EXPECT_NEAR(length(v.viewdown), 1, 1e-12);
    EXPECT_NEAR(length(v.viewfwd), 1, 1e-12);
    expect_near(cross(v.viewfwd, v.viewright), v.viewdown);
}

Camera home_view()
{
    View view;
    TimeState time;
    view_reset(view, time, CivilTime{});
    return view.camera;
}

}  // namespace

TEST(ViewOps, ResetGoesHomeLookingLevelSouth)
{
    View view;
    view.show_earth = view.orbit_mode = 0;
    view.far_side_lines = 1;
    view.camera.viewvel = {1, 2, 3};
    TimeState time;
    time.time_manual = 1;
    time.instant.sidereal_angle = 5;
    view_reset(view, time, CivilTime{2001, 2, 3, 4, 5, 6});
    expect_near(view.camera.viewpos, {-0.70842, -0.66472, -0.23725}, 5e-6);
    EXPECT_NEAR(length(view.camera.viewpos), 1, 1e-15);
    expect_orthonormal(view.camera);
    // Level: the right axis and the line of sight are horizontal, down points to the centre.
    EXPECT_NEAR(dot(view.camera.viewright, view.camera.viewpos), 0, 1e-15);
    EXPECT_NEAR(dot(view.camera.viewfwd, view.camera.viewpos), 0, 1e-15);
    // South: away from the North Pole (-y).
    EXPECT_GT(view.camera.viewfwd.y, 0);
    EXPECT_EQ(view.show_earth, 1);
    EXPECT_EQ(view.orbit_mode, 1);
    EXPECT_EQ(view.far_side_lines, 0);
    expect_near(view.camera.viewvel, {0, 0, 0});
    EXPECT_EQ(time.time_manual, 0);
    EXPECT_EQ(time.clock_year, 2001);
    EXPECT_EQ(time.clock_second, 6);
}

TEST(ViewOps, AxisDirectionsChangeNothing)
{
    Camera view = home_view();
    const Camera before = view;
    view_look_at(view, 0, 1, 0);
    expect_near(view.viewfwd, before.viewfwd, 0);

    view.viewpos = {0, -2, 0};  // above the North Pole
    const Camera on_axis = view;
    for (auto preset : {view_down, view_up, view_north, view_south, view_east, view_west}) {
        preset(view);
        expect_near(view.viewfwd, on_axis.viewfwd, 0);
        expect_near(view.viewright, on_axis.viewright, 0);
        expect_near(view.viewdown, on_axis.viewdown, 0);
    }
    view_centre(view);
    expect_near(view.viewfwd, {0, 1, 0});
    expect_orthonormal(view);
}

TEST(ViewOps, PresetsAreOrthonormalAndSymmetric)
{
    Camera view = home_view();
    view.viewpos = {0.3, -0.5, -2.0};
    view_north(view);
    const Camera north = view;
    view_south(view);
    expect_near(view.viewfwd, -north.viewfwd);
    expect_near(view.viewdown, north.viewdown);
    for (auto preset : {view_down, view_up, view_north, view_south, view_east, view_west, view_centre}) {
        preset(view);
        expect_orthonormal(view);
    }
    view_down(view);
    expect_near(view.viewfwd, view.viewpos * (-1 / length(view.viewpos)));
    view_east(view);
    // East at longitude ~8.5 degrees is close to +x.
    EXPECT_GT(view.viewfwd.x, 0.9);
}

TEST(ViewOps, LookAtKeepsTheRightAxisHorizontal)
{
    Camera view = home_view();
    view_look_at(view, 3, -4, 0);
    expect_near(view.viewfwd, {0.6, -0.8, 0});
    expect_near(view.viewright, {0, 0, -1});
    expect_orthonormal(view);
}

TEST(ViewOps, SpinAndRotateTurnRigidly)
{
    Camera view = home_view();
    const Camera before = view;
    view_spin(view, 2 * std::numbers::pi);
    expect_near(view.viewpos, before.viewpos);
    expect_near(view.viewright, before.viewright);
    expect_near(view.viewdown, before.viewdown);
    expect_near(view.viewfwd, before.viewfwd);

    view_spin(view, std::numbers::pi / 2);
    EXPECT_NEAR(view.viewpos.y, before.viewpos.y, 1e-15);
    EXPECT_NEAR(view.viewpos.x, -before.viewpos.z, 1e-15);

    view = before;
    view_rotate(view, 0, 0, 0.1);  // yaw turns forward towards right
    EXPECT_NEAR(dot(view.viewfwd, before.viewright), std::sin(0.1), 1e-15);
    expect_near(view.viewdown, before.viewdown);
    view = before;
    view_rotate(view, 0, 0.2, 0);  // pitch turns forward towards down
    EXPECT_NEAR(dot(view.viewfwd, before.viewdown), std::sin(0.2), 1e-15);
    view = before;
    view_rotate(view, 0.3, 0.2, 0.1);
    expect_orthonormal(view);
}

TEST(ViewOps, ZoomKeepsItsDerivedValues)
{
    Camera view;
    view.xres_half = 320;
    view.yres_half = 240;
    set_zoom(view, 1280);
    EXPECT_EQ(view.zoom_half, 640);
    EXPECT_EQ(view.corner_dist2, 640.0 * 640 + 240 * 240 + 320 * 320);
}
