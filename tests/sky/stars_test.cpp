#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "sky/stars.h"

namespace {

struct Record {
    int16_t a, b;
    uint8_t brightness;
};

// A count, then every star's two signed words, then every star's brightness.
std::vector<uint8_t> image(int32_t count, const std::vector<Record>& records)
{
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put(static_cast<uint32_t>(count), 4);
    for (const Record& r : records) put(static_cast<uint16_t>(r.a), 2), put(static_cast<uint16_t>(r.b), 2);
    for (const Record& r : records) out.push_back(r.brightness);
    return out;
}

std::string decode(const std::vector<uint8_t>& bytes, Stars& stars)
{
    return decodestars(bytes.data(), bytes.size(), stars);
}

}  // namespace

// 0h on the equator, the north pole, 6h at 45 degrees south, and 12h (the
// word is signed); Sirius on the shipped catalogue is checked with PyEphem.
TEST(Stars, RecordsBecomeDirectionsInTheSpaceFrame)
{
    const float h = std::sqrt(0.5f);
    const std::vector<float> want = {0, 0, -1, 0, -1, 0, h, h, 0, 0, 0, 1};
    Stars s;
    ASSERT_EQ(decode(image(4, {{0, 0, 255}, {0, -32768, 0}, {16384, 16384, 128}, {-32768, 0, 2}}), s), "");
    ASSERT_EQ(s.numstars, 4);
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(s.starv[i], want[i], 1e-6) << i;
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{255, 0, 128, 2}));
}

// A file cut short keeps each star whose record and brightness byte are both
// there; a refused file keeps the previous catalogue.
TEST(Stars, ShortFilesKeepTheCompleteStarsAndBadOnesNothing)
{
    const std::vector<uint8_t> full = image(4, {{0, 0, 10}, {16384, 0, 20}, {-32768, 0, 30}, {-16384, 0, 40}});
    std::vector<uint8_t> huge = full, trailing = image(1, {{0, 0, 200}});
    huge[0] = huge[1] = huge[2] = 0xFF, huge[3] = 0x7F;
    trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
    const std::string path = ::testing::TempDir() + "stars_test_short.dat";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(full.data()), full.size() - 2);
    Stars s;
    ASSERT_EQ(loadstars(path, s), "");
    std::remove(path.c_str());
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{10, 20}));
    ASSERT_EQ(s.starv.size(), 6u);
    EXPECT_NEAR(s.starv[3], 1, 1e-6);
    for (const auto& [bytes, kept] : {std::pair{std::vector<uint8_t>(full.begin(), full.begin() + 16), 0},
                                      {huge, 0}, {image(0, {}), 0}, {trailing, 1}}) {
        ASSERT_EQ(decode(bytes, s), "");
        EXPECT_EQ(s.numstars, kept);
        EXPECT_EQ(s.starv.size(), 3u * kept);
        EXPECT_EQ(s.starcol, std::vector<uint8_t>(kept, 200));
    }
    for (const std::vector<uint8_t>& bad : {image(-1, {{0, 0, 10}}), std::vector<uint8_t>{3, 0, 0}, {}}) {
        ASSERT_EQ(decode(image(2, {{100, 200, 7}, {300, 400, 9}}), s), "");
        EXPECT_EQ(bad.empty() ? loadstars("/nonexistent/stars.dat", s) : decode(bad, s), "Can't load stars.dat\n");
        EXPECT_EQ(s.starcol, (std::vector<uint8_t>{7, 9}));
        EXPECT_EQ(s.starv.size(), 6u);
    }
}
