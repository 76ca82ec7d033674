#include "app/screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/work_dir.h"

// Pillow and ImageMagick decode whole frames in globetool's tests; here the
// runs the frames rarely hold: a row's last run, escapes and a wide pitch.
TEST(Screenshot, RunsStopAtTheRowAndEscapeHighBytes)
{
    const struct {
        std::vector<uint8_t> pixels;
        int32_t width, height, pitch;
        std::vector<uint8_t> data;
    } cases[] = {
        {{1, 0xC0, 2, 2, 0xC5, 9, 9, 9, 0xC5, 3, 3, 3, 3, 9, 9, 9}, 5, 2, 8,
         {1, 0xC1, 0xC0, 0xC2, 2, 0xC1, 0xC5, 0xC1, 0xC5, 0xC4, 3}},
        {std::vector<uint8_t>(130, 7), 130, 1, 130, {0xFF, 7, 0xFF, 7, 0xC4, 7}},
        {std::vector<uint8_t>(64, 0xC1), 63, 1, 64, {0xFF, 0xC1}},
    };
    for (const auto& c : cases) {
        const auto file = encode_pcx(c.pixels.data(), c.width, c.height, c.pitch, Palette{});
        ASSERT_GT(file.size(), 128u + 769u);
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 128, file.end() - 769), c.data) << c.width;
    }
}

TEST(Screenshot, NamesWrapAndSavesNeverOverwriteOrLeaveParts)
{
    EXPECT_EQ(screenshot_name(10000), "GLOB0000.PCX");
    WorkDir dir;
    const std::vector<uint8_t> pixels(4 * 3, 1);
    std::ofstream("GLOB0000.PCX") << "keep";
    int32_t counter = 0;
    ASSERT_EQ(save_screenshot(&counter, pixels.data(), 4, 3, 4, Palette{}), 0);
    EXPECT_EQ(counter, 2);
    std::ifstream kept("GLOB0000.PCX");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    EXPECT_TRUE(std::filesystem::exists("GLOB0001.PCX"));
    for (const auto& entry : std::filesystem::directory_iterator(".")) EXPECT_EQ(entry.path().extension(), ".PCX");
    for (const char* bad : {"no-such-dir/x.pcx", "/dev/full"})
        EXPECT_EQ(write_pcx(bad, pixels.data(), 4, 3, 4, Palette{}), -1) << bad;
}
