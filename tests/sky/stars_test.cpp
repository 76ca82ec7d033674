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

void expect_star(const Stars& s, int i, std::array<double, 3> v, double tolerance = 1e-6)
{
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(s.starv[3 * i + k], v[k], tolerance) << "star " << i << " axis " << k;
}

TEST(Stars, RecordsBecomeDirectionsInTheSpaceFrame)
{
    const double h = std::sqrt(0.5), b = 1000 * 4.7936899621426287e-05;
    Stars s;
    ASSERT_EQ(decode(image(6, {{0, 0, 255},        // 0h on the equator
                              {0, -32768, 0},       // the north celestial pole
                              {0, 16384, 128},      // 45 degrees south
                              {16384, 1000, 1},     // 6h
                              {-32768, 0, 2},       // 12h: the word is signed
                              {-1, 0, 3}}),         // one unit short of 24h
                     s),
              "");
    ASSERT_EQ(s.numstars, 6);
    expect_star(s, 0, {0, 0, -1});
    expect_star(s, 1, {0, -1, 0});
    expect_star(s, 2, {0, h, -h});
    expect_star(s, 3, {std::cos(b), std::sin(b), 0});
    expect_star(s, 4, {0, 0, 1});
    expect_star(s, 5, {-9.587379924285257e-05, 0, -1});
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{255, 0, 128, 1, 2, 3}));
}

// A file cut short keeps each star whose record and brightness byte are both
// there; the brightness bytes still start after all the counted records.
TEST(Stars, ShortFilesKeepTheCompleteStars)
{
    std::vector<uint8_t> full = image(4, {{0, 0, 10}, {16384, 0, 20}, {-32768, 0, 30}, {-16384, 0, 40}});
    std::string path = ::testing::TempDir() + "stars_test_short.dat";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(full.data()), full.size() - 2);
    Stars s;
    ASSERT_EQ(loadstars(path, s), "");
    std::remove(path.c_str());
    ASSERT_EQ(s.numstars, 2);
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{10, 20}));
    ASSERT_EQ(s.starv.size(), 6u);
    expect_star(s, 1, {1, 0, 0});

    // Cut inside the records, or counted far beyond the data: no star has
    // its brightness, and nothing is allocated for the missing ones.
    std::vector<uint8_t> huge = full;
    huge[0] = huge[1] = huge[2] = 0xFF, huge[3] = 0x7F;
    for (const auto& bytes : {std::vector<uint8_t>(full.begin(), full.begin() + 16), huge, image(0, {})}) {
        ASSERT_EQ(decode(bytes, s), "");
        EXPECT_EQ(s.numstars, 0);
        EXPECT_TRUE(s.starv.empty() && s.starcol.empty());
    }
    // Bytes after the last brightness are ignored.
    std::vector<uint8_t> trailing = image(1, {{0, 0, 200}});
    trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
    ASSERT_EQ(decode(trailing, s), "");
    EXPECT_EQ(s.starcol, std::vector<uint8_t>{200});
}

TEST(Stars, RefusedFilesKeepThePreviousCatalogue)
{
    const std::vector<uint8_t> negative = image(-1, {{0, 0, 10}}), no_count = {3, 0, 0};
    for (int which = 0; which < 3; ++which) {
        Stars s;
        ASSERT_EQ(decode(image(2, {{100, 200, 7}, {300, 400, 9}}), s), "");
        std::string message = which == 2 ? loadstars("/nonexistent/stars.dat", s)
                                         : decode(which == 0 ? negative : no_count, s);
        EXPECT_EQ(message, "Can't load stars.dat\n");
        EXPECT_EQ(s.numstars, 2);
        EXPECT_EQ(s.starcol, (std::vector<uint8_t>{7, 9}));
        EXPECT_EQ(s.starv.size(), 6u);
    }
}

// The shipped catalogue: Sirius first, and the brightness mapping of its recipe.
TEST(Stars, ShippedCatalogue)
{
    Stars s;
    ASSERT_EQ(loadstars(std::string(GLOBE_SOURCE_DATA_DIR) + "/stars.dat", s), "");
    ASSERT_EQ(s.numstars, 9096);
    const double ra = 6.7525 * 15 * M_PI / 180, dec = -16.7161 * M_PI / 180;
    expect_star(s, 0, {std::sin(ra) * std::cos(dec), -std::sin(dec), -std::cos(ra) * std::cos(dec)}, 1e-4);
    int white = 0, visible = 0;
    for (int i = 0; i < s.numstars; ++i) {
        white += (s.starcol[i] >> 2) == 63;
        visible += (s.starcol[i] >> 2) >= 6;
    }
    // The 15 stars of magnitude 1.0 and brighter reach full white; the 5080
    // down to magnitude 6.0 light at least level 6, but not the 6331 to 6.2.
    EXPECT_EQ(white, 15);
    EXPECT_GE(visible, 5080);
    EXPECT_LT(visible, 6331);
}

}  // namespace
