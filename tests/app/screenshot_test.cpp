#include "app/screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/work_dir.h"

// Pillow and ImageMagick decode the frames globetool saves, and the viewer's
// saved frame matches its reference picture; here the names and the refusals.
TEST(Screenshot, NamesWrapAndSavesNeverOverwriteOrLeaveParts)
{
    EXPECT_EQ(screenshot_name(10000), "GLOB0000.PCX");
    WorkDir dir;
    const std::vector<uint8_t> pixels(4 * 3, 1);
    std::ofstream("GLOB0000.PCX") << "keep";
    int32_t counter = 0;
    ASSERT_TRUE(save_screenshot(&counter, pixels.data(), 4, 3, 4, Palette{}).ok());
    EXPECT_EQ(counter, 2);
    std::ifstream kept("GLOB0000.PCX");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    EXPECT_TRUE(std::filesystem::exists("GLOB0001.PCX"));
    for (const auto& entry : std::filesystem::directory_iterator(".")) EXPECT_EQ(entry.path().extension(), ".PCX");
    for (const char* bad : {"no-such-dir/x.pcx", "/dev/full"})
        EXPECT_FALSE(write_pcx(bad, pixels.data(), 4, 3, 4, Palette{}).ok()) << bad;
}
