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

int run(App& app, HeadlessPlatform& platform, std::string size = "/160x120")
{
    app.settings.data_dir = GLOBE_SOURCE_DATA_DIR;
    char* argv[] = {const_cast<char*>("globe"), size.data()};
    return run_program(app, platform, 2, argv);
}

}  // namespace

TEST(MainLoop, EveryFailingStartEndsWithItsMessageAndCodeOne)
{
    for (int step = 0; step < 5; ++step) {
        const auto app = std::make_unique<App>();
        HeadlessPlatform p;
        bool* fail[] = {&p.fail_window, &p.fail_directinput, &p.fail_keyboard, &p.fail_mouse, &p.fail_directdraw};
        *fail[step] = true;
        EXPECT_EQ(run(*app, p), 1) << step;
        EXPECT_EQ(p.frames_polled, 0);
        ASSERT_EQ(p.messages.size(), step ? 1u : 0u) << step;
        if (step == 0) continue;
        EXPECT_EQ(std::tie(p.messages[0].caption, p.calls.back()), std::make_tuple("ERROR", "destroy_window"));
        if (step < 4) continue;
        EXPECT_EQ(p.messages[0].text, "initdirectdraw failed: 80004005\n");
        EXPECT_EQ(p.calls, (Calls{"create_window", "initdirectinput", "initkeyboard", "initmouse", "initdirectdraw",
                                  "uninitmouse", "destroy_window"}));
    }
}

// Escape and F12 tapped between two polls still act; the saved frame is the
// reference picture of the home view, palette and all.
TEST(MainLoop, TappedKeysSaveTheFrameAndEndTheRun)
{
    WorkDir dir;
    const auto owned = std::make_unique<App>();
    App& app = *owned;
    HeadlessPlatform p;
    p.extra_pitch = 13;
    p.script.resize(10);
    p.script[1].keys = {{dik::f12, true}, {dik::f12, false}};
    p.script[2].keys = {{dik::escape, true}, {dik::escape, false}};
    p.script[9].keys = {{dik::escape, true}};  // held, so a lost tap fails the run instead of hanging it
    EXPECT_EQ(run(app, p, "/64x48"), 0);
    EXPECT_EQ(std::tie(p.frames_polled, p.presents, app.frame.frame_pitch), std::make_tuple(3, 3, 64 + 13));
    EXPECT_EQ(Calls(p.calls.end() - 4, p.calls.end()),
              (Calls{"uninitdirectdraw", "uninitmouse", "uninitkeyboard", "uninitdirectinput"}));
    EXPECT_EQ(app.spans.rows, 0);
    std::ifstream in("GLOB0000.PCX", std::ios::binary);
    uint64_t h = 14695981039346656037u;
    for (auto i = std::istreambuf_iterator<char>(in); i != std::istreambuf_iterator<char>(); ++i)
        h = (h ^ static_cast<uint8_t>(*i)) * 1099511628211u;
    EXPECT_EQ(h, 0xbe37266b40dbcc59u) << std::hex << h;
    EXPECT_FALSE(std::filesystem::exists("GLOB0001.PCX"));
}
