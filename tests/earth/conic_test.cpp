#include "core/conic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

struct Target {
    std::vector<uint8_t> pixels;
    FrameBuffer frame;
    Spans spans;

    Target(int32_t w, int32_t h)
    {
        frame.frame_xres = w;
        frame.frame_yres = h;
        frame.frame_pitch = w;
        spans.rows = h;
        spans.xp.assign(static_cast<size_t>(h) * Spans::per_row, -7);
        spans.xpcnt.assign(static_cast<size_t>(h), 0);
    }
};

struct Coeffs {
    double a, b, c, d, e, f;
    double at(double x, double y) const { return a * x * x + b * x * y + c * y * y + d * x + e * y + f; }
    Coeffs negated() const { return {-a, -b, -c, -d, -e, -f}; }
};

// The rotated ellipse with centre (cx, cy), semi-axes p, q and angle phi.
Coeffs ellipse(double cx, double cy, double p, double q, double phi)
{
    const double cs = std::cos(phi), sn = std::sin(phi);
    const double A = cs * cs / (p * p) + sn * sn / (q * q);
    const double B = 2 * cs * sn * (1 / (p * p) - 1 / (q * q));
    const double C = sn * sn / (p * p) + cs * cs / (q * q);
    return {A, B, C, -2 * A * cx - B * cy, -2 * C * cy - B * cx,
            A * cx * cx + B * cx * cy + C * cy * cy - 1};
}

struct Result {
    int32_t first = -99;
    int32_t end = -99;
};

Result run(Target& t, const Coeffs& k)
{
    Result r;
    conicspans(t.frame, t.spans, k.a, k.b, k.c, k.d, k.e, k.f, r.first, r.end);
    return r;
}

bool untouched(const Target& t)
{
    for (int32_t n : t.spans.xpcnt)
        if (n != 0) return false;
    return true;
}

const Coeffs circle110{1, 0, 1, -200, -200, 20000 - 110};

}  // namespace

TEST(ConicSpans, CircleRowsAndRimFollowTheRoundingRules)
{
    for (const Coeffs& k : {circle110, circle110.negated()}) {
        Target t(640, 480);
        const Result r = run(t, k);
        EXPECT_EQ(r.first, 91);
        EXPECT_EQ(r.end, 111);
        // Row 90 holds pixels with Q <= 0 but lies before first.
        EXPECT_EQ(t.spans.xpcnt[90], 0);
        EXPECT_EQ(t.spans.xpcnt[111], 0);
        for (int32_t y = 91; y < 111; ++y) ASSERT_EQ(t.spans.xpcnt[static_cast<size_t>(y)], 2) << y;
        EXPECT_EQ(t.spans.row(100)[0], 90);
        EXPECT_EQ(t.spans.row(100)[1], 111);
        // Row 110: (x-100)^2 <= 10 gives 97..103; the walk comes from
        // inside, so nothing on the rim is at stake here.
        EXPECT_EQ(t.spans.row(110)[0], 97);
        EXPECT_EQ(t.spans.row(110)[1], 104);
    }
}

TEST(ConicSpans, RimPixelKeptOnlyWhenReachedFromOutside)
{
    // Radius^2 = 100: on row 100 the pixels 90 and 110 lie exactly on the rim.
    // The ends start at the chord centre of row 91 and walk outwards as the
    // rows widen, reaching the rim from inside: 90 is left out on the left,
    // the right end stops at the first pixel not inside, 110.
    Target t(640, 480);
    const Result r = run(t, {1, 0, 1, -200, -200, 20000 - 100});
    ASSERT_LE(r.first, 100);
    ASSERT_GT(r.end, 100);
    EXPECT_EQ(t.spans.row(100)[0], 91);
    EXPECT_EQ(t.spans.row(100)[1], 110);
    // Past the widest row the ends come back in from outside: on row 106
    // (x-100)^2 <= 64 holds exactly at 92 and 108, and both are kept.
    ASSERT_GT(r.end, 106);
    EXPECT_EQ(t.spans.row(106)[0], 92);
    EXPECT_EQ(t.spans.row(106)[1], 109);
}

TEST(ConicSpans, PairsAreAppendedBehindExistingEntries)
{
    Target t(640, 480);
    for (int32_t y = 0; y < 480; ++y) {
        t.spans.xpcnt[static_cast<size_t>(y)] = 2;
        t.spans.row(y)[0] = 1;
        t.spans.row(y)[1] = 2;
    }
    const Result r = run(t, circle110);
    ASSERT_EQ(r.end, 111);
    EXPECT_EQ(t.spans.xpcnt[100], 4);
    EXPECT_EQ(t.spans.row(100)[0], 1);
    EXPECT_EQ(t.spans.row(100)[2], 90);
    EXPECT_EQ(t.spans.row(100)[3], 111);
    EXPECT_EQ(t.spans.xpcnt[90], 2);

    // A full row drops the pair instead of writing past its 512 entries.
    t.spans.xpcnt[100] = Spans::per_row;
    run(t, circle110);
    EXPECT_EQ(t.spans.xpcnt[100], Spans::per_row);
}

TEST(ConicSpans, ConicsOutsideTheFrameAppendNothing)
{
    const Coeffs cases[] = {
        ellipse(300, -80, 50, 30, 0.3),   // wholly above
        {1, 0, 1, 0, 0, 1},               // empty: x^2 + y^2 + 1 <= 0
        {1, 0, 1, -200, -200, 20000},     // a single point
        {-1, 0, -1, 0, 0, -1},            // the whole plane
        {1, 0, 0, -600, -1, 90000},       // parabola, t = 0
        {1, 0, -1, -600, 480, 90000 - 57600 - 100},  // hyperbola
    };
    for (const Coeffs& k : cases) {
        for (const Coeffs& s : {k, k.negated()}) {
            Target t(640, 480);
            const Result r = run(t, s);
            EXPECT_EQ(r.end, -1);
            EXPECT_EQ(r.first, -99);
            EXPECT_TRUE(untouched(t));
        }
    }
    // No frame or no span storage: nothing; a store shorter than the frame
    // bounds the rows written.
    for (auto [xres, rows, end] : {std::tuple{0, 480, -1}, {640, 0, -1}, {640, 100, 100}}) {
        Target t(640, 480);
        t.frame.frame_xres = xres;
        t.spans.rows = rows;
        EXPECT_EQ(run(t, circle110).end, end);
    }
}

TEST(ConicSpans, EllipsesMatchBruteForceIncludingClippedOnes)
{
    // Every row's span is the run of pixels with Q <= 0 on that row, clipped
    // to the frame. Where the true run is a sliver at a tilted tip, the walk
    // may lose it and leave an empty span; anything else must match exactly.
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> cxd(-150, 470), cyd(-120, 360), ax(4, 260), ang(0, 3.2);
    int32_t checked_rows = 0, cut_top = 0, cut_bottom = 0, cut_side = 0;
    for (int i = 0; i < 300; ++i) {
        const Coeffs k = ellipse(cxd(gen), cyd(gen), ax(gen), ax(gen), ang(gen));
        Target t(320, 240);
        const Result r = run(t, i % 2 ? k : k.negated());
        if (r.end == -1) continue;
        ASSERT_GE(r.first, 0);
        ASSERT_LE(r.end, 240);
        const auto reaches = [&](int32_t y) {
            for (int32_t x = 0; x < 320; ++x)
                if (k.at(x, y) < 0) return true;
            return false;
        };
        // Partly above the frame starts at row 0; partly below ends at its end.
        if (reaches(-2)) {
            ASSERT_EQ(r.first, 0) << i;
            ++cut_top;
        }
        if (reaches(241)) {
            ASSERT_EQ(r.end, 240) << i;
            ++cut_bottom;
        }
        for (int32_t y = 0; y < 240; ++y) {
            const int32_t n = t.spans.xpcnt[static_cast<size_t>(y)];
            ASSERT_EQ(n, y >= r.first && y < r.end ? 2 : 0) << i << " row " << y;
            if (n == 0) continue;
            int32_t lo = -1, hi = -1;
            for (int32_t x = 0; x < 320; ++x) {
                if (k.at(x, y) <= 0) {
                    if (lo < 0) lo = x;
                    hi = x + 1;
                }
            }
            const int32_t L = t.spans.row(y)[0], R = t.spans.row(y)[1];
            ASSERT_GE(L, 0);
            ASSERT_LE(R, 320);
            ASSERT_LE(L, R);
            if (L == R && (lo < 0 || hi - lo <= 3)) continue;
            ASSERT_EQ(L, lo) << "ellipse " << i << " row " << y;
            ASSERT_EQ(R, hi) << "ellipse " << i << " row " << y;
            cut_side += (L == 0 && k.at(-1, y) < 0) || (R == 320 && k.at(320, y) < 0);
            ++checked_rows;
        }
    }
    EXPECT_GT(checked_rows, 5000);
    EXPECT_GT(cut_top, 5);
    EXPECT_GT(cut_bottom, 5);
    EXPECT_GT(cut_side, 500);
}

TEST(ConicSpans, ExtremeCoefficientsStayDefined)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Coeffs cases[] = {
        ellipse(320, 240, 1e12, 1e12, 0),                 // covers the frame
        ellipse(320, -1e12, 1e12 + 100, 1e12 + 100, 0),    // huge, reaching in from above
        ellipse(-3e9, 240, 3e9 + 50, 30, 0),              // extents far beyond int range
        {1e300, 0, 1e300, -1e300, -1e300, 1e300},
        {1e-300, 0, 1e-300, -1e-300, 1e300, -1},
        {inf, 0, 1, 0, 0, -1},
        {1, 0, 1, nan, 0, -100},
        {1, 0, 1, 0, 0, -inf},
    };
    for (const Coeffs& k : cases) {
        Target t(64, 48);
        const Result r = run(t, k);
        if (r.end == -1) continue;
        EXPECT_GE(r.first, 0);
        EXPECT_LE(r.end, 48);
        for (int32_t y = r.first; y < r.end; ++y) {
            EXPECT_LE(0, t.spans.row(y)[0]);
            EXPECT_LE(t.spans.row(y)[0], t.spans.row(y)[1]);
            EXPECT_LE(t.spans.row(y)[1], 64);
        }
    }
    Target t(64, 48);
    const Result r = run(t, cases[0]);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.end, 48);
    EXPECT_EQ(t.spans.row(47)[1], 64);
}

