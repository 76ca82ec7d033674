#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/scan_codes.h"
#include "support/headless_viewer.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

// Each data file replaced by a folder, a FIFO, an endless device, junk or a
// file a byte larger than its format allows (sparse, so nothing is written):
// start-up returns (never blocks on the FIFO, never reads /dev/zero for ever),
// names the file and the reason in one stderr line, and goes on without it;
// L reloads the map files and names a refused one again.
TEST(DataFiles, RefusedFilesAreNamedAndTheViewerGoesOn)
{
    for (const std::string name : {"globe.gif", "SHOREX.DAT", "BORDX.DAT", "stars.dat", "lights.gif"}) {
        const uintmax_t limit = uintmax_t{name.ends_with(".gif") ? 256u : name.ends_with(".DAT") ? 64u : 16u} << 20;
        const std::string reasons[] = {"it is a folder", "it is not a regular file", "it is not a regular file", "",
                                       "it is larger than the " + std::to_string(limit) + " bytes its format can need"};
        for (int kind = 0; kind < 5; ++kind) {
            WorkDir dir;
            if (kind == 0) fs::create_directory(name);
            if (kind == 1) mkfifo(name.c_str(), 0644);
            if (kind == 2) fs::create_symlink("/dev/zero", name);
            if (kind == 3) std::ofstream(name, std::ios::binary) << "\x10\x27\x00\x00junk";
            if (kind == 4) {
                std::ofstream(name, std::ios::binary) << "GIF89a";
                fs::resize_file(name, limit + 1);
            }
            testing::internal::CaptureStderr();
            HeadlessViewer v;
            v.frame_with({dik::l});
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_EQ(err.find("globe: " + name + ": "), 0u) << err;
            EXPECT_NE(err.find(reasons[kind]), std::string::npos) << name << " " << kind << ": " << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), name.ends_with(".DAT") ? 2 : 1) << err;
            const App& app = *v.app;
            EXPECT_EQ(app.view.texture_loaded, name != "globe.gif");
            EXPECT_EQ(app.shore.pointcnt() == 0, name == "SHOREX.DAT");
            EXPECT_EQ(app.borders.polcnt() == 0, name == "BORDX.DAT");
            EXPECT_EQ(app.stars.numstars() == 0, name == "stars.dat");
            EXPECT_EQ(app.light.grades.empty(), name == "lights.gif" || name == "globe.gif");
        }
    }
}
