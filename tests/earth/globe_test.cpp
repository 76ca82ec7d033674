// The textured globe: the exact per-pixel path against textbook rays, and the
// fast path against the exact one, every byte of every frame equal, for each
// kernel this processor runs and any number of workers.
#include "earth/globe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "app/view_ops.h"
#include "core/constants.h"
#include "support/test_frame.h"

namespace {

constexpr double pi = std::numbers::pi;

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

// Every pixel against the ray through it by the textbook method, from the
// normalised direction: on the sphere the texel at the nearer hit's longitude
// and latitude (truncated towards zero from the centre texel), off it 0.
// Pixels within rounding of the rim or of a texel edge are not judged. A
// span's ends truncate the rim's columns: its first pixel misses, and its
// exclusive right end, left 0, hits. Returns how many pixels agreed.
int compare_with_rays(const TestFrame& s, const Camera& view, const Texture& t)
{
    const int32_t w = t.pic_width, h = t.pic_height;
    int compared = 0;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x) {
            Vec3 d = view.viewright * (x - view.xres_half) + view.viewdown * (y - view.yres_half) +
                     view.viewfwd * view.zoom_half;
            d = d * (1 / length(d));
            const double tc = -dot(view.viewpos, d), miss2 = dot(view.viewpos, view.viewpos) - tc * tc;
            if (std::fabs(miss2 - 1) < 1e-7) continue;
            const bool hits = miss2 < 1 && tc > 0, span = s.spans.xpcnt[static_cast<size_t>(y)] == 2;
            const int32_t x0 = span ? s.spans.row(y)[0] : -1, x1 = span ? s.spans.row(y)[1] : -1;
            EXPECT_FALSE(x == x0 && x > 0 && hits) << "pixel " << x << "," << y;
            EXPECT_FALSE(x == x1 && x > x0 && !hits) << "pixel " << x << "," << y;
            uint8_t want = 0;
            if (hits && x != x1) {
                const Vec3 p = view.viewpos + d * (tc - std::sqrt(1 - miss2));
                const double u = std::atan2(p.x, -p.z) * w / (2 * pi);
                const double v = std::asin(std::clamp(p.y, -1.0, 1.0)) * h / pi;
                if (std::fabs(u - std::round(u)) < 1e-6 || std::fabs(v - std::round(v)) < 1e-6) continue;
                const int32_t col = (static_cast<int32_t>(u) + w / 2) % w;
                const int32_t row = std::min(static_cast<int32_t>(v) + h / 2, h - 1);
                want = t.pic[static_cast<size_t>(row * w + col)];
            }
            EXPECT_EQ(s.at(x, y), want) << "pixel " << x << "," << y;
            if (s.at(x, y) != want) return compared;
            ++compared;
        }
    return compared;
}

struct Shot {
    Camera view;
    int32_t w, h, pitch;
    int texture;
    bool judged = true;  // against the rays, which lose all precision in degenerate views
    // In the share left to the exact path; near a pole, magnified, the float
    // kernel's longitudes are too coarse for most pixels.
    bool usual = true;
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
    v.viewright = std::fabs(up.y) > 0.9 ? Vec3{1, 0, 0} : cross(Vec3{0, 1, 0}, -up) * (1 / std::hypot(up.x, up.z));
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
        const double lat = std::asin(2 * unit(rng) - 1) * 180 / pi, lon = unit(rng) * 360 - 180;
        const double miles = 5 * std::pow(20000, unit(rng));
        const double magnification = i % 3 == 0 ? 1 : std::pow(1000, unit(rng));
        out.push_back({aim(lat, lon, miles, i % 7, magnification, w, h, rng), w, h, pitch, i % 4});
    }
    // Over the poles and the back meridian, and the disc's top touching a
    // row's centre from several heights, so that rows graze the rim.
    for (const double lat : {90.0, -90.0, 0.0, 60.0})
        for (const double miles : {5.0, 3000.0, 100000.0})
            out.push_back({aim(lat, 180, miles, 0, 1, 97, 61, rng), 97, 61, 101, 2});
    // The centre column along a meridian on a texel edge, the centre pixel on
    // a parallel on one too: the kernels' angles fall either side of them.
    // The last two edges are a column from the map's centre, where an error
    // of the angles is largest against the angle itself.
    for (int k = 0; k < 18; ++k) {
        const double miles = 5 * std::pow(20000, unit(rng));
        const double lon = k < 16 ? k * 45 - 180 : k == 16 ? 360.0 / 2048 : -360.0 / 1000;
        out.push_back({aim(k % 2 ? 45 : -45, lon, miles, 0, 1, 64, 48, rng), 64, 48, 64, k % 2});
    }
    for (const double miles : {5.0, 1500.0, 8000.0, 100000.0}) {
        Shot s{aim(20, 40, miles, 0, 1, 64, 48, rng), 64, 48, 64, 0};
        const double d = length(s.view.viewpos);
        s.view.yres_half = 7 + s.view.zoom_half / std::sqrt(d * d - 1);
        out.push_back(s);
    }
    // The row quadratic loses its square term when the eye's distance from
    // the camera's horizontal axis line is exactly 1.
    for (double side : {-1.0, 1.0})
        out.push_back({look_at(200, 150, {side, 0, -1}, {side, 0, 0}), 200, 150, 203, 1});
    // Close to a pole, where a longitude's error grows as the hit's distance
    // from the axis shrinks, the meridians' texel edges crowding the frame.
    for (const double lat : {89.0, 89.9, -89.7})
        for (const double miles : {5.0, 60.0})
            for (const double magnification : {1.0, 20.0}) {
                const Vec3 eye = geo(lat, 10) * (1 + miles / earth_radius_miles);
                const Camera v = look_at(64, 48, eye, geo(lat > 0 ? 89.99 : -89.99, 40), 0, magnification);
                out.push_back({v, 64, 48, 64, lat > 89.5 ? 0 : 1, true, false});
            }
    // Eyes very far or very close, and magnifications very small or very
    // large, give huge roots of the row quadratic; the last eye is off the
    // pole's axis by less than the smallest float.
    const double low = lowest_eye_dist;
    for (const Vec3& eye : {Vec3{0, 0, -1e12}, Vec3{0, 0, -low}, Vec3{1e-9, -low, 0}, Vec3{0.3, 0.2, -1.0000001},
                            Vec3{1e-45, 3, 3e-45}})
        for (double mag : {1e-9, 1e-3, 1.0, 1e6, 1e12})
            for (const Vec3& fwd : {-eye, Vec3{1, 0, 0}, Vec3{0.2, 0.1, 1}})
                out.push_back({look_at(64, 48, eye, eye + fwd, 0, mag), 64, 48, 70, 2, false});
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

TEST(Globe, ExactPathMatchesRaysAndFastPathEveryByte)
{
    std::mt19937 rng(7);
    const Texture textures[] = {noise_texture(2048, 1024, rng), noise_texture(1000, 500, rng),
                                noise_texture(63, 31, rng), noise_texture(7, 3, rng)};
    const std::vector<RowKernel> kernels = usable_row_kernels();
    const std::vector<Shot> views = shots();
    ASSERT_GE(views.size(), 200u);
    int64_t compared = 0, on_disc = 0;
    std::vector<int64_t> exact_pixels(kernels.size());
    // Pools kept across every view, as a frame loop keeps one.
    WorkerPool one(1), three(3);
    for (size_t i = 0; i < views.size(); ++i) {
        const Shot& s = views[i];
        const Texture& texture = textures[s.texture];
        TestFrame exact(s.w, s.h, 0xAA, s.pitch);
        globespans(s.view, exact.frame, exact.spans);
        texglobe_exact(s.view, exact.frame, exact.spans, texture, {});
        ASSERT_TRUE(exact.guards_intact()) << "view " << i;
        for (int32_t y = 0; y < s.h; ++y)
            ASSERT_TRUE(exact.spans.xpcnt[static_cast<size_t>(y)] == 0 ||
                        (exact.spans.row(y)[0] >= 0 && exact.spans.row(y)[1] <= s.w)) << "view " << i;
        if (s.judged) compared += compare_with_rays(exact, s.view, texture);
        int64_t disc = 0;
        for (int32_t y = 0; y < s.h; ++y)
            if (exact.spans.xpcnt[static_cast<size_t>(y)] == 2) disc += exact.spans.row(y)[1] - exact.spans.row(y)[0];
        if (s.judged && s.usual) on_disc += disc;
        for (size_t k = 0; k < kernels.size(); ++k)
            for (WorkerPool* workers : {&one, &three}) {
                TestFrame fast(s.w, s.h, 0xAA, s.pitch);
                globespans(s.view, fast.frame, fast.spans);
                const int64_t slow = texglobe(s.view, fast.frame, fast.spans, texture, {}, *workers, kernels[k]);
                if (s.judged && s.usual && workers == &one) exact_pixels[k] += slow;
                // Only the disc's pixels can be handed over, none when it is off the frame.
                ASSERT_LE(slow, disc) << "view " << i << ", kernel " << k << ", " << workers->size() << " workers";
                ASSERT_TRUE(fast.guards_intact());
                for (int32_t y = 0; y < s.h; ++y)
                    ASSERT_EQ(std::memcmp(fast.frame.row(y), exact.frame.row(y), static_cast<size_t>(s.w)), 0)
                        << "view " << i << ", kernel " << k << ", " << workers->size() << " workers, row " << y;
            }
    }
    EXPECT_GT(compared, 300000);
    // A kernel that left every pixel to the exact path would draw the same
    // frames many times slower: the double kernels leave 0.32 % of them, the
    // float one 0.73 %.
    for (size_t k = 0; k < kernels.size(); ++k) EXPECT_LT(exact_pixels[k], on_disc / 100) << "kernel " << k;
}

TEST(Globe, WithoutAPictureOrSpanRowsEveryRowIsCleared)
{
    std::mt19937 rng(5);
    for (const auto& [rows, texture] : {std::pair{0, noise_texture(64, 32, rng)}, {48, Texture{}}}) {
        TestFrame s(64, 48, 9);
        s.spans.rows = rows;
        const Camera v = look_at(64, 48, {0, 0, -2}, {});
        globespans(v, s.frame, s.spans);
        WorkerPool one(1);
        texglobe(v, s.frame, s.spans, texture, {}, one, best_row_kernel());
        EXPECT_EQ(s.count(0), 64 * 48);
    }
}

// Day and night: the fast path against the exact one on the same views, for
// every kernel, with the terminator through each disc (the Sun square to the
// eye, turned a little each view) and random city lights; the day's pixels
// stay the plain frame's, and some of the night's differ.
TEST(Globe, DayAndNightFastPathEveryByte)
{
    std::mt19937 rng(11);
    const Texture textures[] = {noise_texture(2048, 1024, rng), noise_texture(1000, 500, rng),
                                noise_texture(63, 31, rng), noise_texture(7, 3, rng)};
    Palette palette;
    for (PaletteEntry& e : palette) e = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
    GlobeLight lights[4];
    for (int k = 0; k < 4; ++k) {
        lights[k] = globe_light(palette);
        lights[k].grades = noise_texture(textures[k].pic_width, textures[k].pic_height, rng).pic;
        for (uint8_t& g : lights[k].grades) g %= light_grades;
    }
    const std::vector<RowKernel> kernels = usable_row_kernels();
    std::normal_distribution<double> gauss;
    int64_t darkened = 0;
    WorkerPool two(2);
    for (const Shot& s : shots()) {
        const Vec3 e = s.view.viewpos, r{gauss(rng), gauss(rng), gauss(rng)};
        const Vec3 square = cross(e, r) + e * (0.2 * gauss(rng) / length(e));
        const Daylight day{square * (1 / length(square)), &lights[s.texture]};
        const Texture& texture = textures[s.texture];
        TestFrame plain(s.w, s.h, 0xAA, s.pitch), exact(s.w, s.h, 0xAA, s.pitch);
        globespans(s.view, plain.frame, plain.spans);
        texglobe_exact(s.view, plain.frame, plain.spans, texture, {});
        globespans(s.view, exact.frame, exact.spans);
        texglobe_exact(s.view, exact.frame, exact.spans, texture, day);
        for (int32_t y = 0; y < s.h; ++y)
            for (int32_t x = 0; x < s.w; ++x) darkened += exact.at(x, y) != plain.at(x, y);
        for (size_t k = 0; k < kernels.size(); ++k) {
            TestFrame fast(s.w, s.h, 0xAA, s.pitch);
            globespans(s.view, fast.frame, fast.spans);
            texglobe(s.view, fast.frame, fast.spans, texture, day, two, kernels[k]);
            ASSERT_TRUE(fast.guards_intact());
            for (int32_t y = 0; y < s.h; ++y)
                ASSERT_EQ(std::memcmp(fast.frame.row(y), exact.frame.row(y), static_cast<size_t>(s.w)), 0)
                    << "kernel " << k << ", row " << y;
        }
    }
    EXPECT_GT(darkened, 100000);
}
