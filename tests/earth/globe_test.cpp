#include "earth/globe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "support/test_frame.h"

namespace {

constexpr double pi = std::numbers::pi;
constexpr double min_dist = 1.0012613521695257;

void draw(TestFrame& t, const Camera& v, const Texture& texture)
{
    globespans(v, t.frame, t.spans);
    texglobe(v, t.frame, t.spans, texture);
}

// The ray through pixel (x, y) by the textbook method, from the normalised
// direction; rim is how far it passes from grazing (|miss distance^2 - 1|).
struct Ray {
    Vec3 hit;
    bool hits = false;
    double rim = 0;
};

Ray cast(const Camera& v, double x, double y)
{
    Vec3 d = v.viewright * (x - v.xres_half) + v.viewdown * (y - v.yres_half) + v.viewfwd * v.zoom_half;
    d = d * (1 / length(d));
    const double tc = -dot(v.viewpos, d);
    const double miss2 = dot(v.viewpos, v.viewpos) - tc * tc;
    Ray r;
    r.rim = std::fabs(miss2 - 1);
    if (miss2 > 1 || tc <= 0) return r;
    r.hits = true;
    r.hit = v.viewpos + d * (tc - std::sqrt(1 - miss2));
    return r;
}

// A map of 8 x 4 blocks of 45 degrees: block value 1 + column + 8 * row,
// row 0 in the north, column 0 at 180 W.
Texture block_map(int32_t w, int32_t h)
{
    Texture t;
    t.pic_width = w;
    t.pic_height = h;
    for (int32_t r = 0; r < h; ++r)
        for (int32_t c = 0; c < w; ++c) t.pic.push_back(static_cast<uint8_t>(1 + c * 8 / w + 8 * (r * 4 / h)));
    return t;
}

// Every pixel against the textbook ray: on the disc the texel at the hit's
// longitude and latitude (truncated towards zero from the centre texel), off
// it 0. Pixels within rounding of the rim or of a texel edge are not judged.
// Returns how many pixels agreed.
int compare_with_rays(const TestFrame& s, const Camera& view, const Texture& t)
{
    const int32_t w = t.pic_width, h = t.pic_height;
    int compared = 0;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x) {
            const Ray r = cast(view, x, y);
            if (r.rim < 1e-9) continue;
            uint8_t want = 0;
            if (r.hits) {
                const double u = std::atan2(r.hit.x, -r.hit.z) * w / (2 * pi);
                const double v = std::asin(std::clamp(r.hit.y, -1.0, 1.0)) * h / pi;
                if (std::fabs(u - std::round(u)) < 1e-6 || std::fabs(v - std::round(v)) < 1e-6) continue;
                const int32_t col = (static_cast<int32_t>(u) + w / 2) % w;
                const int32_t row = std::min(static_cast<int32_t>(v) + h / 2, h - 1);
                want = t.pic[static_cast<size_t>(row * w + col)];
            }
            // A span's right end is exclusive and truncated: the last pixel
            // whose ray hits may lie on it.
            const bool right_end = s.spans.xpcnt[static_cast<size_t>(y)] == 2 && x == s.spans.row(y)[1];
            if (right_end && s.at(x, y) == 0) continue;
            EXPECT_EQ(s.at(x, y), want) << "pixel " << x << "," << y;
            if (s.at(x, y) != want) return compared;
            ++compared;
        }
    return compared;
}

}  // namespace

TEST(Globe, EveryPixelShowsTheTexelItsRayMeets)
{
    // Eyes over known places looking at the centre show the map block of
    // that place in the screen's centre (north up, east to the right of the
    // image); those and random eyes, directions, magnifications and frame
    // sizes, from just above the surface to far away, show at every pixel the
    // texel that its textbook ray meets, and 0 where it misses.
    const double places[][3] = {{10, 10, 3}, {41.7, -71.5, 2.5}, {-33.9, 151.2, 2.5}, {-22.9, -43.2, 1.2}, {35.7, 139.7, 8}};
    for (const Texture& t : {block_map(64, 32), block_map(2048, 1024)})
        for (const auto& [lat, lon, dist] : places) {
            SCOPED_TRACE(testing::Message() << lat << ", " << lon);
            TestFrame s(320, 200);
            const Camera v = look_at(320, 200, geo(lat, lon) * dist, {});
            draw(s, v, t);
            EXPECT_EQ(s.at(160, 100), static_cast<int>(1 + std::floor((lon + 180) / 45) + 8 * std::floor((90 - lat) / 45)));
            EXPECT_GT(compare_with_rays(s, v, t), 2000);
            EXPECT_TRUE(s.guards_intact());
        }
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> unit(-1, 1);
    auto random_unit = [&] {
        Vec3 v{unit(rng), unit(rng), unit(rng)};
        return v * (1 / length(v));
    };
    const Texture t = block_map(64, 32);
    int compared = 0;
    for (int n = 0; n < 150; ++n) {
        const int32_t w = 40 + static_cast<int32_t>(rng() % 200), h = 30 + static_cast<int32_t>(rng() % 150);
        const double dist = n % 3 == 0 ? min_dist + std::pow(10, -3 + 3 * (unit(rng) + 1) / 2)
                                       : 1 + std::pow(10, 2 * (unit(rng) + 1) / 2);
        const Vec3 eye = random_unit() * dist;
        // Towards the Earth about half of the time, anywhere otherwise.
        const Vec3 fwd = n % 2 ? random_unit() : (random_unit() * 0.5 - eye * (1 / dist));
        const Camera v = look_at(w, h, eye, eye + fwd, 0, std::pow(10, unit(rng)));
        SCOPED_TRACE(testing::Message() << "view " << n);
        TestFrame s(w, h);
        draw(s, v, t);
        compared += compare_with_rays(s, v, t);
        ASSERT_TRUE(s.guards_intact());
    }
    EXPECT_GT(compared, 1500000);
}

TEST(Globe, DegenerateViewsConvertNothingOutOfRange)
{
    // The row quadratic loses its square term when the eye's distance from
    // the camera's horizontal axis line is exactly 1; eyes very far or very
    // close, and magnifications very small or very large, give huge roots.
    const Texture t = block_map(64, 32);
    for (double side : {-1.0, 1.0}) {
        TestFrame flat(200, 150);
        const Camera v = look_at(200, 150, {side, 0, -1}, {side, 0, 0});
        draw(flat, v, t);
        EXPECT_GT(compare_with_rays(flat, v, t), 15000) << side;
    }
    const Vec3 eyes[] = {{0, 0, -1e12}, {0, 0, -min_dist}, {1e-9, -min_dist, 0}, {0.3, 0.2, -1.0000001}};
    for (const Vec3& eye : eyes)
        for (double mag : {1e-9, 1e-3, 1.0, 1e6, 1e12})
            for (const Vec3& fwd : {-eye, Vec3{1, 0, 0}, Vec3{0.2, 0.1, 1}}) {
                TestFrame s(64, 48);
                draw(s, look_at(64, 48, eye, eye + fwd, 0, mag), t);
                for (int32_t y = 0; y < 48; ++y)
                    if (s.spans.xpcnt[static_cast<size_t>(y)] == 2) {
                        EXPECT_GE(s.spans.row(y)[0], 0);
                        EXPECT_LE(s.spans.row(y)[1], 64);
                    }
                EXPECT_TRUE(s.guards_intact());
            }
}

TEST(Globe, RowsWithoutSpansAreCleared)
{
    // Rows beyond the span work area, or all rows when there is none, are 0;
    // so is every row of a disc wholly off the screen, and of a frame
    // without a picture.
    const Texture t = block_map(64, 32);
    for (int32_t span_rows : {40, 0}) {
        TestFrame s(100, 80, 9);
        s.spans.rows = span_rows;
        draw(s, look_at(100, 80, {0, 0, -2}, {}), t);
        EXPECT_EQ(s.count(9), 0);
        for (int32_t y = span_rows; y < 80; ++y)
            for (int32_t x = 0; x < 100; ++x) ASSERT_EQ(s.at(x, y), 0) << x << "," << y;
        EXPECT_EQ(s.at(50, 20) != 0, span_rows > 0);
        EXPECT_TRUE(s.guards_intact());
    }
    for (const Vec3& fwd : {Vec3{0.94, 0, 0.34}, Vec3{-0.94, 0, 0.34}, Vec3{0, 0.94, 0.34}}) {
        TestFrame s(100, 80, 9);
        draw(s, look_at(100, 80, {0, 0, -3}, Vec3{0, 0, -3} + fwd), t);
        EXPECT_EQ(s.count(0), 100 * 80);
    }
    TestFrame none(100, 80, 9);
    draw(none, look_at(100, 80, {0, 0, -2}, {}), Texture{});
    EXPECT_EQ(none.count(0), 100 * 80);
}
