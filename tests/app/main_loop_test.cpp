#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "platform/headless/headless_platform.h"
#include "platform/scan_codes.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace {

struct Viewer {
    std::unique_ptr<App> app = std::make_unique<App>();
    HeadlessPlatform platform;
    int run(std::vector<std::string> args = {})
    {
        app->settings.data_dir = GLOBE_SOURCE_DATA_DIR;
        std::vector<char*> argv{const_cast<char*>("globe")};
        for (auto& a : args) argv.push_back(a.data());
        return run_program(*app, platform, static_cast<int>(argv.size()), argv.data());
    }
};

}  // namespace

TEST(MainLoop, EveryFailingStartEndsWithItsMessageAndCodeOne)
{
    for (int step = 0; step < 5; ++step) {
        Viewer r;
        bool* fail[] = {&r.platform.fail_window, &r.platform.fail_directinput, &r.platform.fail_keyboard,
                        &r.platform.fail_mouse, &r.platform.fail_directdraw};
        *fail[step] = true;
        EXPECT_EQ(r.run(), 1) << step;
        EXPECT_EQ(r.platform.frames_polled, 0);
        if (step > 0) {
            ASSERT_EQ(r.platform.messages.size(), 1u) << step;
            EXPECT_EQ(r.platform.messages[0].caption, "ERROR");
            EXPECT_EQ(r.platform.calls.back(), "destroy_window");
        }
    }
    Viewer r;
    r.platform.fail_directdraw = true;
    r.run();
    EXPECT_EQ(r.platform.messages[0].text, "initdirectdraw failed: 80004005\n");
    const std::vector<std::string> order = {"create_window", "initdirectinput", "initkeyboard", "initmouse",
                                            "initdirectdraw", "uninitmouse", "destroy_window"};
    EXPECT_EQ(r.platform.calls, order);
}

TEST(MainLoop, EscapeEndsAfterItsFrameWithCodeZero)
{
    Viewer r;
    r.platform.script.resize(3);
    r.platform.script[2].keys = {{dik::escape, true}, {dik::escape, false}};  // a quick tap
    r.platform.script.resize(10);
    EXPECT_EQ(r.run(), 0);
    EXPECT_EQ(r.platform.frames_polled, 3);
    EXPECT_EQ(r.platform.presents, 3);
    const std::vector<std::string> tail(r.platform.calls.end() - 4, r.platform.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"uninitdirectdraw", "uninitmouse", "uninitkeyboard", "uninitdirectinput"}));
    // The buffers are gone with the frame that handled Escape.
    EXPECT_FALSE(r.app->spans.allocated());
}

TEST(MainLoop, FirstFrameSetsTheGeometryAndTheHomeView)
{
    Viewer r;
    r.platform.extra_pitch = 13;
    r.platform.close_after_frames = 2;
    r.run({"/200x150"});
    EXPECT_EQ(r.app->frame.frame_xres, 200);
    EXPECT_EQ(r.app->frame.frame_yres, 150);
    EXPECT_EQ(r.app->frame.frame_pitch, 213);
    EXPECT_EQ(r.app->frame.row_offset.back(), 149 * 213);
    EXPECT_EQ(r.app->view.camera.zoom, 200);
    EXPECT_EQ(r.app->spans.rows, 150);
    EXPECT_GE(length(r.app->view.camera.viewpos), 1.0012613521695257);
    EXPECT_LT(length(r.app->view.camera.viewpos), 1.0013);
}

TEST(MainLoop, TwelveSavesTheDrawnFrame)
{
    WorkDir dir;
    Viewer r;
    r.platform.script.resize(2);
    r.platform.script[1].keys = {{dik::f12, true}, {dik::f12, false}};  // a quick tap
    r.platform.close_after_frames = 4;
    r.run({"/64x48"});
    ASSERT_TRUE(fs::exists("GLOB0000.PCX"));
    EXPECT_GT(fs::file_size("GLOB0000.PCX"), 128u + 769u);
    EXPECT_FALSE(fs::exists("GLOB0001.PCX"));  // once per press
    EXPECT_EQ(r.app->controls.shot_counter, 1);
}
