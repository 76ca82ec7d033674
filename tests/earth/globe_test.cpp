#include "earth/globe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double deg = pi / 180;
constexpr double min_dist = 1.0012613521695257;
constexpr uint8_t margin_byte = 0xAA;

struct Scene {
    std::vector<uint8_t> pixels;
    FrameBuffer frame;
    Spans spans;
    Camera view;

    Scene(int32_t w, int32_t h, int32_t pitch, int32_t span_rows)
    {
        pixels.assign(static_cast<size_t>(pitch) * static_cast<size_t>(h), margin_byte);
        frame.frame_ptr = pixels.data();
        frame.frame_pitch = pitch;
        frame.frame_xres = w;
        frame.frame_yres = h;
        for (int32_t y = 0; y < h; ++y) frame.row_offset.push_back(y * pitch);
        spans.rows = span_rows;
        spans.xp.assign(static_cast<size_t>(span_rows) * Spans::per_row, -1);
        spans.xpcnt.assign(static_cast<size_t>(span_rows), 77);
        view.xres_half = w * 0.5;
        view.yres_half = h * 0.5;
        zoom(1);
    }
    Scene(int32_t w, int32_t h) : Scene(w, h, w, h) {}

    void zoom(double magnification)
    {
        view.zoom = frame.frame_xres * magnification;
        view.zoom_half = view.zoom * 0.5;
        view.corner_dist2 = view.zoom_half * view.zoom_half + view.yres_half * view.yres_half +
                            view.xres_half * view.xres_half;
    }

    // Eye at `eye` looking along `fwd` with the screen's right edge level
    // (perpendicular to the axis) and north up.
    void look(Vec3 eye, Vec3 fwd)
    {
        const Vec3 f = fwd * (1 / length(fwd));
        Vec3 r = cross(Vec3{0, 1, 0}, f);
        r = r * (1 / length(r));
        view.viewpos = eye;
        view.viewfwd = f;
        view.viewright = r;
        view.viewdown = cross(f, r);
    }

    void axes(Vec3 pos, Vec3 fwd, Vec3 right, Vec3 down)
    {
        view.viewpos = pos;
        view.viewfwd = fwd;
        view.viewright = right;
        view.viewdown = down;
    }

    void draw(const Texture& texture)
    {
        globespans(view, frame, spans);
        texglobe(view, frame, spans, texture);
    }

    uint8_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * frame.frame_pitch + x)]; }
};

// A point at geographic latitude (north positive) and longitude (east positive).
Vec3 place(double lat, double lon)
{
    return {std::sin(lon) * std::cos(lat), -std::sin(lat), -std::cos(lat) * std::cos(lon)};
}

// The ray through pixel (x, y) by the textbook method, from the normalised
// direction: the distance along it to the nearer hit, or -1 for a miss. Also
// how far the ray passes from the rim (|squared miss distance - 1|).
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

uint8_t block_of(double lat, double lon)
{
    return static_cast<uint8_t>(1 + std::floor((lon / deg + 180) / 45) + 8 * std::floor((90 - lat / deg) / 45));
}

// Every pixel against the textbook ray: on the disc the texel at the hit's
// longitude and latitude (both truncated towards zero from the centre
// texel), off it 0. Pixels within rounding of the rim or of a texel edge are
// not judged. Returns how many pixels agreed.
int compare_with_rays(const Scene& s, const Texture& t)
{
    const int32_t w = t.pic_width, h = t.pic_height;
    int compared = 0;
    for (int32_t y = 0; y < s.frame.frame_yres; ++y) {
        for (int32_t x = 0; x < s.frame.frame_xres; ++x) {
            const Ray r = cast(s.view, x, y);
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
    }
    return compared;
}

}  // namespace

TEST(Globe, CentreOfTheMapFacesAnEyeOverZeroZero)
{
    // From 3 Earth radii over 0 N 0 E, looking at the centre, the screen's
    // centre shows the image's centre texel (row H/2, column W/2).
    Texture t = block_map(64, 32);
    t.pic[16 * 64 + 32] = 200;
    Scene s(640, 480);
    s.look({0, 0, -3}, {0, 0, 1});
    s.draw(t);
    EXPECT_EQ(s.at(320, 240), 200);
    EXPECT_EQ(s.at(0, 0), 0);
    EXPECT_EQ(s.at(639, 479), 0);
    EXPECT_EQ(s.at(320, 240 - 120), 0) << "above the disc, whose radius is 113 pixels";
    t.pic[16 * 64 + 32] = block_of(0.1 * deg, 0.1 * deg);
    s.draw(t);
    EXPECT_GT(compare_with_rays(s, t), 30000);
}

TEST(Globe, PlacesFallInTheirBlocksOfTheMap)
{
    // Eyes over known places looking at the centre: the screen's centre shows
    // the map block of that place (north up, east to the right of the image).
    const double places[][2] = {{41.7, -71.5}, {-33.9, 151.2}, {-22.9, -43.2}, {35.7, 139.7}};
    const Texture t = block_map(2048, 1024);
    for (const auto& p : places) {
        SCOPED_TRACE(testing::Message() << p[0] << ", " << p[1]);
        Scene s(320, 200);
        const Vec3 ground = place(p[0] * deg, p[1] * deg);
        s.look(ground * 2.5, -ground);
        s.draw(t);
        EXPECT_EQ(s.at(160, 100), block_of(p[0] * deg, p[1] * deg));
        compare_with_rays(s, t);
    }
}

TEST(Globe, PolesAndTheBackMeridianStayInsideThePicture)
{
    // Texel value 1 + 3 * (first row 0, last row 2, others 1) + (first column
    // 0, last column 2, others 1). The picture is sized exactly, so any read
    // past it fails under ASan.
    for (const auto& [w, h] : {std::pair{64, 32}, std::pair{63, 31}, std::pair{7, 3}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        Texture t;
        t.pic_width = w;
        t.pic_height = h;
        auto edge = [](int32_t i, int32_t n) { return i == 0 ? 0 : i == n - 1 ? 2 : 1; };
        for (int32_t r = 0; r < h; ++r)
            for (int32_t c = 0; c < w; ++c) t.pic.push_back(static_cast<uint8_t>(1 + 3 * edge(r, h) + edge(c, w)));

        // Straight down on the +y pole: the last row.
        Scene pole(100, 100);
        pole.axes({0, 3, 0}, {0, -1, 0}, {1, 0, 0}, {0, 0, 1});
        pole.draw(t);
        EXPECT_GE(pole.at(50, 50), 7);

        Scene north(100, 100);
        north.axes({0, -3, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1});
        north.draw(t);
        EXPECT_LE(north.at(50, 50), 3);

        // On the back meridian: the first or the last column, never beyond.
        Scene back(100, 100);
        back.look({0, 0, 3}, {0, 0, -1});
        back.draw(t);
        EXPECT_TRUE(back.at(50, 50) == 4 || back.at(50, 50) == 6) << int(back.at(50, 50));
        EXPECT_EQ(back.at(49, 50), 6) << "just west of the back meridian: the last column";
        EXPECT_TRUE(back.at(51, 50) == 4 || back.at(51, 50) == 5) << "just east: the first columns";
    }
}

TEST(Globe, SpansMatchRayTestsInAnyView)
{
    // Random eyes, directions, magnifications and frame sizes, from just above
    // the surface to far away; each row's span must hold the pixels whose
    // rays meet the sphere in front of the eye, give or take the truncation of
    // each end.
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> unit(-1, 1);
    auto random_unit = [&] {
        Vec3 v{unit(rng), unit(rng), unit(rng)};
        return v * (1 / length(v));
    };
    int rows_with_spans = 0;
    int rows_without = 0;
    for (int n = 0; n < 200; ++n) {
        const int32_t w = 40 + static_cast<int32_t>(rng() % 200);
        const int32_t h = 30 + static_cast<int32_t>(rng() % 150);
        Scene s(w, h);
        const double dist = n % 3 == 0 ? min_dist + std::pow(10, -3 + 3 * (unit(rng) + 1) / 2)
                                       : 1 + std::pow(10, 2 * (unit(rng) + 1) / 2);
        const Vec3 eye = random_unit() * dist;
        // Towards the Earth about half of the time, anywhere otherwise.
        const Vec3 fwd = n % 2 ? random_unit() : (random_unit() * 0.5 - eye * (1 / dist));
        s.look(eye, fwd);
        s.zoom(std::pow(10, unit(rng)));
        SCOPED_TRACE(testing::Message() << "view " << n);
        globespans(s.view, s.frame, s.spans);
        for (int32_t y = 0; y < h; ++y) {
            const int32_t count = s.spans.xpcnt[static_cast<size_t>(y)];
            ASSERT_TRUE(count == 0 || count == 2) << count;
            const int32_t x0 = count ? s.spans.row(y)[0] : 0;
            const int32_t x1 = count ? s.spans.row(y)[1] : 0;
            ASSERT_TRUE(0 <= x0 && x0 <= x1 && x1 <= w) << x0 << " " << x1;
            (count ? rows_with_spans : rows_without)++;
            for (int32_t x = 0; x < w; ++x) {
                const Ray r = cast(s.view, x, y);
                if (r.rim < 1e-7) continue;
                if (r.hits)
                    EXPECT_TRUE(x >= x0 - 1 && x <= x1) << "row " << y << " pixel " << x << " hits outside the span";
                else
                    EXPECT_FALSE(x > x0 && x + 1 < x1) << "row " << y << " pixel " << x << " misses inside the span";
            }
        }
    }
    EXPECT_GT(rows_with_spans, 5000);
    EXPECT_GT(rows_without, 5000);
}

TEST(Globe, DegenerateViewsConvertNothingOutOfRange)
{
    // The row quadratic loses its square term when the eye's distance from
    // the camera's horizontal axis line is exactly 1; eyes very far or very
    // close, and magnifications very small or very large, give huge roots.
    Texture t = block_map(64, 32);
    for (double side : {-1.0, 1.0}) {
        SCOPED_TRACE(side);
        Scene flat(200, 150);
        flat.axes({side, 0, -1}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0});
        flat.draw(t);
        EXPECT_GT(compare_with_rays(flat, t), 15000);
    }

    const Vec3 eyes[] = {{0, 0, -1e12}, {0, 0, -min_dist}, {1e-9, -min_dist, 0}, {0.3, 0.2, -1.0000001}};
    for (const Vec3& eye : eyes)
        for (double magnification : {1e-9, 1e-3, 1.0, 1e6, 1e12})
            for (const Vec3& fwd : {-eye, Vec3{1, 0, 0}, Vec3{0.2, 0.1, 1}}) {
                Scene s(64, 48);
                s.look(eye, fwd);
                s.zoom(magnification);
                s.draw(t);
                for (int32_t y = 0; y < 48; ++y)
                    if (s.spans.xpcnt[static_cast<size_t>(y)] == 2) {
                        EXPECT_GE(s.spans.row(y)[0], 0);
                        EXPECT_LE(s.spans.row(y)[1], 64);
                    }
            }
}

TEST(Globe, WritesOnlyTheFrameAndClearsRowsWithoutSpans)
{
    const Texture t = block_map(64, 32);
    // A pitch wider than the frame: the bytes past each row stay untouched.
    Scene wide(100, 80, 128, 80);
    wide.look({0, 0, -2}, {0, 0, 1});
    wide.draw(t);
    for (int32_t y = 0; y < 80; ++y)
        for (int32_t x = 100; x < 128; ++x) ASSERT_EQ(wide.at(x, y), margin_byte);
    EXPECT_NE(wide.at(50, 40), 0);

    // Rows beyond the span work area, or all rows when there is none, are 0.
    for (int32_t span_rows : {40, 0}) {
        Scene s(100, 80, 100, span_rows);
        s.look({0, 0, -2}, {0, 0, 1});
        s.draw(t);
        for (int32_t y = span_rows; y < 80; ++y)
            for (int32_t x = 0; x < 100; ++x) ASSERT_EQ(s.at(x, y), 0) << x << "," << y;
    }

    // A disc wholly left of, right of or above the screen leaves every row
    // without a span.
    for (const Vec3& fwd : {Vec3{0.94, 0, 0.34}, Vec3{-0.94, 0, 0.34}, Vec3{0, 0.94, 0.34}}) {
        Scene s(100, 80);
        s.look({0, 0, -3}, fwd);
        s.draw(t);
        for (int32_t n : s.spans.xpcnt) ASSERT_EQ(n, 0);
        for (uint8_t p : s.pixels) ASSERT_EQ(p, 0);
    }

    // Without a picture the whole frame is cleared.
    Scene none(100, 80);
    none.look({0, 0, -2}, {0, 0, 1});
    none.draw(Texture{});
    for (uint8_t p : none.pixels) ASSERT_EQ(p, 0);
}
