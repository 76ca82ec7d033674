#include <gtest/gtest.h>

#include "app/view_ops.h"

namespace {

Vec3 unit(Vec3 a) { return a * (1 / length(a)); }

void expect_near(Vec3 a, Vec3 b, const char* what, int eye, int preset)
{
    EXPECT_NEAR(length(a - b), 0, 1e-12) << what << " eye " << eye << " preset " << preset;
}

// A camera at p looking along f, with its right side r (not yet squared up,
// so that a preset must build its frame from the eye alone).
Camera camera(Vec3 p, Vec3 r, Vec3 f) { return {p, r, cross(f, r), f, {}}; }

bool unchanged(const Camera& a, const Camera& b)
{
    const auto same = [](Vec3 u, Vec3 v) { return u.x == v.x && u.y == v.y && u.z == v.z; };
    return same(a.viewpos, b.viewpos) && same(a.viewright, b.viewright) && same(a.viewdown, b.viewdown) &&
           same(a.viewfwd, b.viewfwd);
}

}  // namespace

// Every preset gives a right-handed orthonormal frame looking where its name
// says, from eyes on the axes (exact zeros), over the poles and anywhere;
// over a pole only the centre view has a direction to take, and a view that
// cannot be built leaves the camera as it was.
TEST(ViewPresets, EachLooksWhereItsNameSays)
{
    const Vec3 north = {0, -1, 0};
    const Camera eyes[] = {
        camera({0, 0, -3}, {1, 0, 0}, {0, 0, 1}),          camera({3, 0, 0}, {0, 1, 0}, {0, 0, 1}),
        camera({0, -3, 0}, {1, 0, 0}, {0, 0, 1}),          camera({0, 1.5, 0}, {0, 0, 1}, {1, 0, 0}),
        camera({1.2, -0.7, 2.1}, {0.6, 0.8, 0}, {0, 0, 1}), camera({-2, 0.3, -0.4}, {0, 0, 1}, {0.6, 0, 0.8}),
    };
    // What each preset must give: forward and down as world directions, from
    // up (away from the centre) and east at the eye.
    struct Want {
        void (*apply)(Camera&);
        bool keeps_roll;  // only centre keeps the camera's roll
        Vec3 (*fwd)(Vec3 up, Vec3 east);
        Vec3 (*down)(Vec3 up, Vec3 east);
    };
    const auto level = [](Vec3 up, Vec3) { return -up; };
    const Want presets[] = {
        {view_centre, true, [](Vec3 up, Vec3) { return -up; }, nullptr},
        {view_down, false, [](Vec3 up, Vec3) { return -up; }, [](Vec3 up, Vec3 east) { return cross(-up, east); }},
        {view_up, false, [](Vec3 up, Vec3) { return up; }, [](Vec3 up, Vec3 east) { return cross(up, east); }},
        {view_north, false, [](Vec3 up, Vec3 east) { return cross(up, east); }, level},
        {view_south, false, [](Vec3 up, Vec3 east) { return cross(east, up); }, level},
        {view_east, false, [](Vec3, Vec3 east) { return east; }, level},
        {view_west, false, [](Vec3, Vec3 east) { return -east; }, level},
    };
    for (int e = 0; e < 6; ++e) {
        const Vec3 up = unit(eyes[e].viewpos);
        const bool on_axis = up.x == 0 && up.z == 0;
        const Vec3 east = on_axis ? Vec3{} : unit(cross(north, up));
        for (int k = 0; k < 7; ++k) {
            Camera c = eyes[e];
            presets[k].apply(c);
            if (on_axis && !presets[k].keeps_roll) {
                EXPECT_TRUE(unchanged(c, eyes[e])) << "eye " << e << " preset " << k;
                continue;
            }
            expect_near(c.viewfwd, presets[k].fwd(up, east), "forward", e, k);
            if (presets[k].down) expect_near(c.viewdown, presets[k].down(up, east), "down", e, k);
            expect_near(c.viewdown, cross(c.viewfwd, c.viewright), "right-handed", e, k);
            EXPECT_NEAR(length(c.viewright), 1, 1e-12);
            EXPECT_NEAR(dot(c.viewright, c.viewfwd), 0, 1e-12);
            EXPECT_TRUE(!presets[k].keeps_roll || dot(c.viewright, eyes[e].viewright) > 0) << "eye " << e;
        }
    }
    // Centre cannot turn a camera whose right side points at the Earth.
    const Camera sideways = camera({0, 0, -3}, {0, 0, 1}, {1, 0, 0});
    Camera c = sideways;
    view_centre(c);
    EXPECT_TRUE(unchanged(c, sideways));
}
