#include "core/conic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "support/test_frame.h"

namespace {

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
    return {A, B, C, -2 * A * cx - B * cy, -2 * C * cy - B * cx, A * cx * cx + B * cx * cy + C * cy * cy - 1};
}

// The spans of a test frame, stale values in them, the first rows' count
// prefilled; the conic's rows.
struct Target : TestFrame {
    RowRange rows{-99, -99};

    Target(int32_t w, int32_t h, int32_t prefilled = 0) : TestFrame(w, h)
    {
        spans.xp.assign(spans.xp.size(), -7);
        spans.xpcnt.assign(spans.xpcnt.size(), prefilled);
    }
    Target& run(const Coeffs& k)
    {
        rows = conicspans(frame, spans, k.a, k.b, k.c, k.d, k.e, k.f);
        return *this;
    }
    std::pair<int32_t, int32_t> span(int32_t y, int32_t i = 0) const { return {spans.row(y)[i], spans.row(y)[i + 1]}; }
};

using Span = std::pair<int32_t, int32_t>;

}  // namespace

TEST(ConicSpans, RimPixelsAreKeptOnlyWhenReachedFromOutside)
{
    // Circles round (100, 100), either sign. The ends start at the chord
    // centre of the first row and walk outwards while the rows widen,
    // reaching the rim from inside; past the widest row they come back from
    // outside. Radius^2 100 puts pixels 90 and 110 of row 100 and 92 and 108
    // of row 106 exactly on the rim; 110 has rows 91 to 110 (row 90 holds
    // pixels with Q <= 0 but lies before first).
    const std::tuple<double, int32_t, int32_t, Span, Span> cases[] = {
        {110, 91, 111, {90, 111}, {97, 104}},  // rows 100 and 110
        {100, 91, 111, {91, 110}, {92, 109}},  // rows 100 and 106
    };
    for (const auto& [r2, first, end, mid, late] : cases)
        for (const Coeffs& k : {Coeffs{1, 0, 1, -200, -200, 20000 - r2}, Coeffs{1, 0, 1, -200, -200, 20000 - r2}.negated()}) {
            Target t(640, 480);
            t.run(k);
            EXPECT_EQ(t.rows.first, first) << r2;
            EXPECT_EQ(t.rows.end, end) << r2;
            for (int32_t y = 0; y < 480; ++y) ASSERT_EQ(t.spans.xpcnt[static_cast<size_t>(y)], y >= first && y < end ? 2 : 0) << y;
            EXPECT_EQ(t.span(100), mid) << r2;
            EXPECT_EQ(t.span(r2 == 110 ? 110 : 106), late) << r2;
        }
    // Pairs go behind the entries already there; a full row drops them.
    Target t(640, 480, 2);
    t.spans.xpcnt[100] = Spans::per_row;
    t.run({1, 0, 1, -200, -200, 20000 - 110});
    EXPECT_EQ(t.spans.xpcnt[99], 4);
    EXPECT_EQ(t.span(99, 2), (Span{90, 111}));
    EXPECT_EQ(t.spans.xpcnt[90], 2);
    EXPECT_EQ(t.spans.xpcnt[100], Spans::per_row);
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
        t.run(i % 2 ? k : k.negated());
        if (t.rows.end == -1) continue;
        const auto reaches = [&](int32_t y) {
            for (int32_t x = 0; x < 320; ++x)
                if (k.at(x, y) < 0) return true;
            return false;
        };
        // Partly above the frame starts at row 0; partly below ends at its end.
        ASSERT_EQ(t.rows.first, reaches(-2) ? 0 : t.rows.first) << i;
        ASSERT_EQ(t.rows.end, reaches(241) ? 240 : t.rows.end) << i;
        ASSERT_TRUE(t.rows.first >= 0 && t.rows.end <= 240) << i;
        cut_top += reaches(-2);
        cut_bottom += reaches(241);
        for (int32_t y = 0; y < 240; ++y) {
            const int32_t n = t.spans.xpcnt[static_cast<size_t>(y)];
            ASSERT_EQ(n, y >= t.rows.first && y < t.rows.end ? 2 : 0) << i << " row " << y;
            if (n == 0) continue;
            int32_t lo = -1, hi = -1;
            for (int32_t x = 0; x < 320; ++x)
                if (k.at(x, y) <= 0) {
                    if (lo < 0) lo = x;
                    hi = x + 1;
                }
            const auto [L, R] = t.span(y);
            ASSERT_TRUE(0 <= L && L <= R && R <= 320) << L << " " << R;
            if (L == R && (lo < 0 || hi - lo <= 3)) continue;
            ASSERT_EQ(t.span(y), (Span{lo, hi})) << "ellipse " << i << " row " << y;
            cut_side += (L == 0 && k.at(-1, y) < 0) || (R == 320 && k.at(320, y) < 0);
            ++checked_rows;
        }
    }
    EXPECT_GT(checked_rows, 5000);
    EXPECT_GT(cut_top, 5);
    EXPECT_GT(cut_bottom, 5);
    EXPECT_GT(cut_side, 500);
}

TEST(ConicSpans, EmptyDegenerateAndExtremeConicsStayInTheFrame)
{
    // Either sign: the empty ones give no rows at all, the rest only spans
    // inside the frame.
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<Coeffs, bool> cases[] = {
        {ellipse(300, -80, 50, 30, 0.3), true},              // wholly above
        {{1, 0, 1, 0, 0, 1}, true},                          // x^2 + y^2 + 1 <= 0
        {{1, 0, 1, -200, -200, 20000}, true},                // a single point
        {{-1, 0, -1, 0, 0, -1}, true},                       // the whole plane
        {{1, 0, 0, -600, -1, 90000}, true},                  // parabola
        {{1, 0, -1, -600, 480, 90000 - 57600 - 100}, true},  // hyperbola
        {ellipse(320, -1e12, 1e12 + 100, 1e12 + 100, 0), false},
        {ellipse(-3e9, 240, 3e9 + 50, 30, 0), false},  // extents far beyond int range
        {{1e300, 0, 1e300, -1e300, -1e300, 1e300}, false},
        {{1e-300, 0, 1e-300, -1e-300, 1e300, -1}, false},
        {{inf, 0, 1, 0, 0, -1}, false},
        {{1, 0, 1, nan, 0, -100}, false},
        {{1, 0, 1, 0, 0, -inf}, false},
    };
    for (const auto& [k, empty] : cases)
        for (const Coeffs& s : {k, k.negated()}) {
            Target t(640, 480);
            t.run(s);
            if (empty) {
                EXPECT_EQ(t.rows.end, -1);
                EXPECT_EQ(t.rows.first, 0);
                for (int32_t n : t.spans.xpcnt) ASSERT_EQ(n, 0);
            } else if (t.rows.end != -1) {
                EXPECT_TRUE(t.rows.first >= 0 && t.rows.end <= 480);
                for (int32_t y = t.rows.first; y < t.rows.end; ++y)
                    EXPECT_TRUE(0 <= t.span(y).first && t.span(y).first <= t.span(y).second && t.span(y).second <= 640);
            }
        }
    Target whole(64, 48);
    whole.run(ellipse(320, 240, 1e12, 1e12, 0));
    EXPECT_EQ(whole.rows.first, 0);
    EXPECT_EQ(whole.rows.end, 48);
    EXPECT_EQ(whole.span(47), (Span{0, 64}));
    // No frame or no span storage: nothing; a store shorter than the frame
    // bounds the rows written.
    for (auto [xres, rows, end] : {std::tuple{0, 480, -1}, {640, 0, -1}, {640, 100, 100}}) {
        Target t(640, 480);
        t.frame.frame_xres = xres;
        t.spans.rows = rows;
        EXPECT_EQ(t.run({1, 0, 1, -200, -200, 20000 - 110}).rows.end, end);
    }
}
