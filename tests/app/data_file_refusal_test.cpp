#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/loaders.h"
#include "platform/scan_codes.h"
#include "support/headless_viewer.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace {

// What stands in the working folder in place of a data file.
enum class Stand { folder, fifo, endless_device, damaged };

void put(const std::string& name, Stand kind)
{
    switch (kind) {
    case Stand::folder: fs::create_directory(name); break;
    case Stand::fifo: mkfifo(name.c_str(), 0644); break;
    case Stand::endless_device: fs::create_symlink("/dev/zero", name); break;
    case Stand::damaged: std::ofstream(name, std::ios::binary) << "\x10\x27\x00\x00junk"; break;
    }
}

}  // namespace

// Each data file replaced by something no loader can use: start-up returns
// (never blocks on a FIFO, never reads /dev/zero for ever), names the file
// and the reason in one stderr line, and goes on without that data.
TEST(DataFiles, RefusedFilesAreNamedAndTheViewerGoesOn)
{
    const char* names[] = {"globe.gif", "SHOREX.DAT", "BORDX.DAT", "stars.dat"};
    const struct {
        Stand kind;
        const char* reason;
    } stands[] = {{Stand::folder, "it is a folder"}, {Stand::fifo, "it is not a regular file"},
                  {Stand::endless_device, "it is not a regular file"}, {Stand::damaged, ""}};
    for (const char* name : names) {
        for (const auto& s : stands) {
            WorkDir dir;
            put(name, s.kind);
            testing::internal::CaptureStderr();
            HeadlessViewer v;
            v.frame();
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_EQ(err.find(std::string("globe: ") + name + ": "), 0u) << err;
            EXPECT_NE(err.find(s.reason), std::string::npos) << name << " " << static_cast<int>(s.kind) << ": " << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
            const App& app = *v.app;
            EXPECT_EQ(app.view.texture_loaded, std::string(name) != "globe.gif");
            EXPECT_EQ(app.shore.pointcnt == 0, std::string(name) == "SHOREX.DAT");
            EXPECT_EQ(app.borders.polcnt == 0, std::string(name) == "BORDX.DAT");
            EXPECT_EQ(app.stars.numstars == 0, std::string(name) == "stars.dat");
        }
    }
}

// L with a folder in place of the shorelines keeps the ones loaded before; a
// catalogue whose count promises more stars than it holds keeps the complete ones.
TEST(DataFiles, ShortAndReloadedFilesKeepWhatTheyCan)
{
    WorkDir dir;
    // Three 4-byte records, then one brightness of the three.
    std::ofstream("stars.dat", std::ios::binary).write("\x03\x00\x00\x00" "123456789abc" "\x09", 17);
    testing::internal::CaptureStderr();
    HeadlessViewer v;
    v.frame();
    const int32_t points = v.app->shore.pointcnt;
    ASSERT_GT(points, 0);
    fs::create_directory("SHOREX.DAT");
    v.frame_with({dik::l});
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(v.app->stars.numstars, 1);
    EXPECT_NE(err.find("globe: stars.dat: it holds only 1 of the 3 stars its count gives\n"), std::string::npos) << err;
    EXPECT_NE(err.find("globe: SHOREX.DAT: it is a folder"), std::string::npos) << err;
    EXPECT_EQ(v.app->shore.pointcnt, points);
    ASSERT_FALSE(v.platform.messages.empty());
    EXPECT_EQ(v.platform.messages.back().text, "Can't load shore");
}
