#include "app/main_loop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/scan_codes.h"
#include "support/work_dir.h"

namespace {

using Calls = std::vector<std::string>;

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
        ASSERT_EQ(r.platform.messages.size(), step ? 1u : 0u) << step;
        if (step == 0) continue;
        EXPECT_EQ(r.platform.messages[0].caption, "ERROR");
        EXPECT_EQ(r.platform.calls.back(), "destroy_window");
    }
    Viewer r;
    r.platform.fail_directdraw = true;
    r.run();
    EXPECT_EQ(r.platform.messages[0].text, "initdirectdraw failed: 80004005\n");
    EXPECT_EQ(r.platform.calls, (Calls{"create_window", "initdirectinput", "initkeyboard", "initmouse",
                                       "initdirectdraw", "uninitmouse", "destroy_window"}));
}

// Escape and F12 tapped between two polls still act; the saved frame is the
// reference picture of the home view, palette and all.
TEST(MainLoop, TappedKeysSaveTheFrameAndEndTheRun)
{
    WorkDir dir;
    Viewer r;
    r.platform.extra_pitch = 13;
    r.platform.script.resize(3);
    r.platform.script[1].keys = {{dik::f12, true}, {dik::f12, false}};
    r.platform.script[2].keys = {{dik::escape, true}, {dik::escape, false}};
    r.platform.script.resize(10);
    EXPECT_EQ(r.run({"/64x48"}), 0);
    EXPECT_EQ(r.platform.frames_polled, 3);
    EXPECT_EQ(r.platform.presents, 3);
    EXPECT_EQ(Calls(r.platform.calls.end() - 4, r.platform.calls.end()),
              (Calls{"uninitdirectdraw", "uninitmouse", "uninitkeyboard", "uninitdirectinput"}));
    EXPECT_FALSE(r.app->spans.allocated());
    EXPECT_EQ(r.app->frame.frame_pitch, 64 + 13);
    EXPECT_EQ(r.app->view.camera.zoom, 64);

    std::ifstream in("GLOB0000.PCX", std::ios::binary);
    uint64_t h = 14695981039346656037u;
    for (auto i = std::istreambuf_iterator<char>(in); i != std::istreambuf_iterator<char>(); ++i)
        h = (h ^ static_cast<uint8_t>(*i)) * 1099511628211u;
    EXPECT_EQ(h, 0x71c549cae9c93451u) << std::hex << h;
    EXPECT_FALSE(std::filesystem::exists("GLOB0001.PCX"));
    EXPECT_EQ(r.app->controls.shot_counter, 1);
}
