// The float kernel's atan2 within its stated bound of the double one, over
// every octant, the octants' edges and the turn at tan(pi/8), and ratios from
// the smallest floats to the largest.
#include "earth/float_lanes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

TEST(FloatLanes, Atan2WithinItsBound)
{
    std::vector<float> ys, xs;
    const float edges[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.41421356f, 0.41421357f, 0.41421355f, 2.4142137f, 1e-30f, 1e30f};
    for (float y : edges)
        for (float x : edges)
            if (x != 0 || y != 0) {
                ys.push_back(y);
                xs.push_back(x);
            }
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> unit(-1, 1);
    std::uniform_int_distribution<int> scale(-60, 60);
    for (int i = 0; i < 400000; ++i) {
        ys.push_back(std::ldexp(unit(rng), i % 4 == 0 ? scale(rng) : 0));
        xs.push_back(std::ldexp(unit(rng), i % 4 == 1 ? scale(rng) : 0));
    }
    double worst = 0;
    for (size_t i = 0; i + 4 <= ys.size(); i += 4) {
        const float_lanes::F y{ys[i], ys[i + 1], ys[i + 2], ys[i + 3]};
        const float_lanes::F x{xs[i], xs[i + 1], xs[i + 2], xs[i + 3]};
        const float_lanes::F r = float_lanes::atan2(y, x);
        for (int l = 0; l < 4; ++l) {
            const double want = std::atan2(static_cast<double>(y[l]), static_cast<double>(x[l]));
            // The two ends of the back meridian are one angle.
            double error = std::fabs(r[l] - want);
            if (x[l] < 0 && y[l] == 0) error = std::fabs(std::fabs(r[l]) - M_PI);
            worst = std::max(worst, error);
            ASSERT_LE(error, float_lanes::atan2_error) << y[l] << ", " << x[l];
        }
    }
    EXPECT_GT(worst, float_lanes::atan2_error / 4);
}
