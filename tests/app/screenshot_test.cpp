#include "app/screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/scan_codes.h"
#include "support/headless_viewer.h"
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

// A working folder that has gone away: F12 says why on stderr, shows no
// message box and keeps the counter, so the next F12 tries the same name.
TEST(Screenshot, AFailedSaveIsReportedAndTriedAgain)
{
    WorkDir dir;
    HeadlessViewer v;
    std::filesystem::remove(dir.path);
    testing::internal::CaptureStderr();
    v.frame_with({dik::f12});
    v.frame_with({dik::f12});
    const std::string line = "globe: can't save a screenshot: GLOB0000.PCX: No such file or directory\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), line + line);
    EXPECT_EQ(v.app->controls.shot_counter, 0);
    EXPECT_TRUE(v.platform.messages.empty());
}
