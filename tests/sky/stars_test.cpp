#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "sky/stars.h"

namespace {

struct Record {
    int16_t a;
    int16_t b;
    uint8_t brightness;
};

void put16(std::vector<uint8_t>& out, int v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

std::vector<uint8_t> image(int32_t count, const std::vector<Record>& records)
{
    std::vector<uint8_t> out;
    put16(out, count & 0xFFFF);
    put16(out, (count >> 16) & 0xFFFF);
    for (const Record& r : records) put16(out, r.a), put16(out, r.b);
    for (const Record& r : records) out.push_back(r.brightness);
    return out;
}

std::string decode(const std::vector<uint8_t>& bytes, Stars& stars)
{
    return decodestars(bytes.data(), bytes.size(), stars);
}

void expect_star(const Stars& s, int i, double x, double y, double z, double tolerance = 1e-6)
{
    EXPECT_NEAR(s.starv[3 * i], x, tolerance) << "star " << i;
    EXPECT_NEAR(s.starv[3 * i + 1], y, tolerance) << "star " << i;
    EXPECT_NEAR(s.starv[3 * i + 2], z, tolerance) << "star " << i;
}

Stars two_known_stars()
{
    Stars s;
    EXPECT_EQ(decode(image(2, {{100, 200, 7}, {300, 400, 9}}), s), "");
    return s;
}

TEST(Stars, RecordsBecomeDirectionsInTheSpaceFrame)
{
    const double r = std::sqrt(0.5);
    const double b = 1000 * 4.7936899621426287e-05;
    Stars s;
    ASSERT_EQ(decode(image(7, {{0, 0, 255},           // 0h on the equator
                              {0, -32768, 0},          // north celestial pole
                              {0, 16384, 128},         // 45 degrees south at 0h
                              {16384, 1000, 1},        // 6h
                              {-32768, 0, 2},          // 12h: the word is signed
                              {-16384, 0, 3},          // 18h
                              {-1, 0, 4}}),            // one unit short of 24h
                     s),
              "");
    ASSERT_EQ(s.numstars, 7);
    ASSERT_EQ(s.starv.size(), 21u);
    expect_star(s, 0, 0, 0, -1);
    expect_star(s, 1, 0, -1, 0);
    expect_star(s, 2, 0, r, -r);
    expect_star(s, 3, std::cos(b), std::sin(b), 0);
    expect_star(s, 4, 0, 0, 1);
    expect_star(s, 5, -1, 0, 0);
    expect_star(s, 6, -9.587379924285257e-05, 0, -1);
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{255, 0, 128, 1, 2, 3, 4}));
}

TEST(Stars, EmptyCatalogueAndTrailingBytes)
{
    Stars s = two_known_stars();
    ASSERT_EQ(decode(image(0, {}), s), "");
    EXPECT_EQ(s.numstars, 0);
    EXPECT_TRUE(s.starv.empty());
    EXPECT_TRUE(s.starcol.empty());

    std::vector<uint8_t> bytes = image(1, {{0, 0, 200}});
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(decode(bytes, s), "");
    EXPECT_EQ(s.numstars, 1);
    EXPECT_EQ(s.starcol, std::vector<uint8_t>{200});
}

// A file cut short keeps each star whose record and brightness byte are both
// there; the brightness bytes still start after the counted records.
TEST(Stars, ShortFileKeepsTheCompleteStars)
{
    std::vector<uint8_t> full = image(4, {{0, 0, 10}, {16384, 0, 20}, {-32768, 0, 30}, {-16384, 0, 40}});
    Stars s;
    std::vector<uint8_t> cut(full.begin(), full.end() - 2);
    ASSERT_EQ(decode(cut, s), "");
    ASSERT_EQ(s.numstars, 2);
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{10, 20}));
    ASSERT_EQ(s.starv.size(), 6u);
    expect_star(s, 1, 1, 0, 0);

    // Cut inside the records: no star has its brightness.
    s = two_known_stars();
    std::vector<uint8_t> in_records(full.begin(), full.begin() + 4 + 4 * 3);
    ASSERT_EQ(decode(in_records, s), "");
    EXPECT_EQ(s.numstars, 0);
    EXPECT_TRUE(s.starv.empty());

    // A count far beyond the data allocates only for what is there.
    std::vector<uint8_t> huge = full;
    huge[0] = huge[1] = huge[2] = 0xFF;
    huge[3] = 0x7F;
    ASSERT_EQ(decode(huge, s), "");
    EXPECT_EQ(s.numstars, 0);
}

TEST(Stars, RefusedFilesKeepThePreviousCatalogue)
{
    const std::string message = "Can't load stars.dat\n";
    std::vector<uint8_t> negative = image(-1, {{0, 0, 10}});
    std::vector<uint8_t> no_count = {3, 0, 0};
    for (const std::vector<uint8_t>& bad : {negative, no_count, std::vector<uint8_t>{}}) {
        Stars s = two_known_stars();
        EXPECT_EQ(decode(bad, s), message);
        EXPECT_EQ(s.numstars, 2);
        EXPECT_EQ(s.starcol, (std::vector<uint8_t>{7, 9}));
        EXPECT_EQ(s.starv.size(), 6u);
    }
    Stars s = two_known_stars();
    EXPECT_EQ(loadstars("/nonexistent/stars.dat", s), message);
    EXPECT_EQ(s.numstars, 2);
}

TEST(Stars, LoadsFromAFile)
{
    std::string path = ::testing::TempDir() + "stars_test_short.dat";
    std::vector<uint8_t> bytes = image(3, {{0, 0, 50}, {16384, 0, 60}, {0, -32768, 70}});
    bytes.pop_back();
    {
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Stars s;
    EXPECT_EQ(loadstars(path, s), "");
    EXPECT_EQ(s.numstars, 2);
    EXPECT_EQ(s.starcol, (std::vector<uint8_t>{50, 60}));
    std::remove(path.c_str());
}

// The shipped catalogue: Sirius first, the brightness mapping of its recipe.
TEST(Stars, ShippedCatalogue)
{
    Stars s;
    ASSERT_EQ(loadstars(std::string(GLOBE_SOURCE_DATA_DIR) + "/stars.dat", s), "");
    ASSERT_EQ(s.numstars, 9096);
    const double deg = M_PI / 180;
    double ra = 6.7525 * 15 * deg, dec = -16.7161 * deg;
    // Within the 16-bit steps of the file, 1e-4 radians.
    expect_star(s, 0, std::sin(ra) * std::cos(dec), -std::sin(dec), -std::cos(ra) * std::cos(dec), 1e-4);
    int white = 0, visible = 0;
    for (int i = 0; i < s.numstars; ++i) {
        const float* v = &s.starv[3 * i];
        ASSERT_NEAR(v[0] * v[0] + v[1] * v[1] + v[2] * v[2], 1, 1e-6);
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
