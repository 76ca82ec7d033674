// The fast textured globe against the exact per-pixel one: every byte of
// every frame equal, for each kernel this processor runs and any number of
// workers.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "app/view_ops.h"
#include "core/constants.h"
#include "earth/globe.h"
#include "support/test_frame.h"

namespace {

std::vector<uint8_t> pixels(const TestFrame& t)
{
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < t.height(); ++y) out.insert(out.end(), t.frame.row(y), t.frame.row(y) + t.width());
    return out;
}

// Random texels, so that a texel off by one anywhere shows.
Texture noise_texture(int32_t w, int32_t h, std::mt19937& rng)
{
    Texture t;
    t.pic_width = w;
    t.pic_height = h;
    t.pic.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (uint8_t& b : t.pic) b = static_cast<uint8_t>(rng());
    return t;
}

struct Shot {
    Camera view;
    int32_t w, h, pitch;
    int texture;
};

using Preset = void (*)(Camera&);
constexpr Preset presets[] = {view_centre, view_down, view_up, view_north, view_south, view_east, view_west};

// An eye at lat, lon (degrees) and miles up, first facing the centre, then
// turned by a preset and by a random roll, pitch and yaw.
Camera aim(double lat, double lon, double miles, int preset, double magnification, int32_t w, int32_t h,
           std::mt19937& rng)
{
    Camera v;
    const Vec3 up = position_at_degrees(lat, lon);
    v.viewpos = up * std::max(1 + miles / earth_radius_miles, lowest_eye_dist);
    v.viewfwd = -up;
    v.viewright = std::fabs(up.y) > 0.9 ? Vec3{1, 0, 0} : cross(Vec3{0, 1, 0}, v.viewfwd) * (1 / std::hypot(up.x, up.z));
    v.viewdown = cross(v.viewfwd, v.viewright);
    presets[preset](v);
    std::uniform_real_distribution<double> turn(-0.3, 0.3);
    if (preset % 2 == 1) view_rotate(v, turn(rng), turn(rng), turn(rng));
    v.xres_half = w * 0.5;
    v.yres_half = h * 0.5;
    set_zoom(v, w * magnification);
    return v;
}

std::vector<Shot> shots()
{
    std::mt19937 rng(13);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int32_t> side(1, 90);
    std::vector<Shot> out;
    for (int i = 0; i < 240; ++i) {
        const bool big = i % 24 == 0;
        const int32_t w = big ? 333 : side(rng), h = big ? 199 : side(rng);
        const int32_t pitch = w + static_cast<int32_t>(rng() % 13);
        const double lat = std::asin(2 * unit(rng) - 1) * 180 / 3.141592653589793;
        const double lon = unit(rng) * 360 - 180;
        const double miles = 5 * std::pow(20000, unit(rng));
        const double magnification = i % 3 == 0 ? 1 : std::pow(1000, unit(rng));
        out.push_back({aim(lat, lon, miles, i % 7, magnification, w, h, rng), w, h, pitch, i % 4});
    }
    // Over the poles and the back meridian, and the disc's top touching a
    // row's centre from several heights, so that rows graze the rim.
    for (const double lat : {90.0, -90.0, 0.0, 60.0})
        for (const double miles : {5.0, 3000.0, 100000.0})
            out.push_back({aim(lat, 180, miles, 0, 1, 97, 61, rng), 97, 61, 101, 2});
    for (const double miles : {5.0, 1500.0, 8000.0, 100000.0}) {
        Shot s{aim(20, 40, miles, 0, 1, 64, 48, rng), 64, 48, 64, 0};
        const double d = length(s.view.viewpos);
        s.view.yres_half = 7 + s.view.zoom_half / std::sqrt(d * d - 1);
        out.push_back(s);
    }
    // Column 0 on the back meridian with x exactly -0 below the centre row
    // and +0 above it: on a map of odd width the two ends of the meridian
    // fall in different columns.
    Camera back;
    back.viewpos = {-0.0, 0, 3};
    back.viewright = {-1, 0, 0};
    back.viewdown = {-0.0, 1, 0};
    back.viewfwd = {-0.0, 0, -1};
    back.yres_half = 20;
    set_zoom(back, 40);
    out.push_back({back, 40, 40, 40, 3});
    return out;
}

}  // namespace

TEST(GlobeFast, EveryByteEqualsTheExactPath)
{
    std::mt19937 rng(7);
    const Texture textures[] = {noise_texture(2048, 1024, rng), noise_texture(1000, 500, rng),
                                noise_texture(63, 31, rng), noise_texture(7, 3, rng)};
    const std::vector<RowKernel> kernels = usable_row_kernels();
    const std::vector<Shot> views = shots();
    ASSERT_GE(views.size(), 200u);
    for (size_t i = 0; i < views.size(); ++i) {
        const Shot& s = views[i];
        const Texture& texture = textures[s.texture];
        TestFrame exact(s.w, s.h, 0xAA, s.pitch);
        globespans(s.view, exact.frame, exact.spans);
        texglobe_exact(s.view, exact.frame, exact.spans, texture);
        ASSERT_TRUE(exact.guards_intact()) << "view " << i;
        for (size_t k = 0; k < kernels.size(); ++k) {
            for (const int32_t workers : {1, 3}) {
                TestFrame fast(s.w, s.h, 0xAA, s.pitch);
                globespans(s.view, fast.frame, fast.spans);
                texglobe(s.view, fast.frame, fast.spans, texture, workers, kernels[k]);
                ASSERT_TRUE(fast.guards_intact());
                ASSERT_EQ(pixels(fast), pixels(exact)) << "view " << i << ", kernel " << k << ", " << workers
                                                   << " workers, " << s.w << "x" << s.h;
            }
        }
    }
}
