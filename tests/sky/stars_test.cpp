#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/load_messages.h"
#include "sky/stars.h"

namespace {

// A count, then every star's two signed words (right ascension, and a
// declination of 0), then every star's brightness.
std::vector<uint8_t> image(int32_t count, const std::vector<std::pair<int16_t, uint8_t>>& stars)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i)));
    for (const auto& star : stars) out.insert(out.end(), {uint8_t(star.first), uint8_t(star.first >> 8), 0, 0});
    for (const auto& star : stars) out.push_back(star.second);
    return out;
}

}  // namespace

// Directions are checked on the shipped catalogue's Sirius with PyEphem. A file
// cut short keeps each star whose record and brightness are both there (the
// second, 6h on the equator, points along +x); a refused one keeps the last.
TEST(Stars, ShortFilesKeepTheCompleteStarsAndBadOnesNothing)
{
    const std::vector<uint8_t> full = image(4, {{0, 10}, {16384, 20}, {-32768, 30}, {-16384, 40}});
    std::vector<uint8_t> huge = full, trailing = image(1, {{0, 200}});
    huge[0] = huge[1] = huge[2] = 0xFF, huge[3] = 0x7F;
    trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
    const std::string path = ::testing::TempDir() + "stars_test_short.dat";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(full.data()), full.size() - 2);
    Stars s;
    const Result cut = loadstars(path, s);
    EXPECT_EQ(cut.kind, Result::Kind::warned);
    EXPECT_EQ(cut.reason, "it holds only 2 of the 4 stars its count gives");
    EXPECT_EQ(load_message(DataFile::stars, cut), "");
    std::remove(path.c_str());
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{10, 20}));
    ASSERT_EQ(s.starv.size(), 6u);
    EXPECT_NEAR(s.starv[3], 1, 1e-6);
    for (const auto& [bytes, kept] : {std::pair{std::vector<uint8_t>(full.begin(), full.begin() + 16), 0},
                                      {huge, 0}, {image(0, {}), 0}, {trailing, 1}}) {
        ASSERT_TRUE(decodestars(bytes.data(), bytes.size(), s).ok());
        EXPECT_EQ(s.numstars(), kept);
        EXPECT_EQ(s.starv.size(), 3u * kept);
        EXPECT_EQ(s.starcol, std::vector<uint8_t>(kept, 200));
    }
    for (const std::vector<uint8_t>& bad : {image(-1, {{0, 10}}), std::vector<uint8_t>{3, 0, 0}, {}}) {
        const std::vector<uint8_t> two = image(2, {{100, 7}, {300, 9}});
        ASSERT_EQ(decodestars(two.data(), two.size(), s).kind, Result::Kind::done);
        const Result refused =
            bad.empty() ? loadstars("/nonexistent/stars.dat", s) : decodestars(bad.data(), bad.size(), s);
        EXPECT_EQ(load_message(DataFile::stars, refused), "Can't load stars.dat\n");
        EXPECT_EQ(s.starcol, (std::vector<uint8_t>{7, 9}));
        EXPECT_EQ(s.starv.size(), 6u);
    }
}
