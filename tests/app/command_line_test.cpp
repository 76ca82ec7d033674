#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsKeepsSixtyFourEntriesAndTheEarlierWins)
{
    const auto split = [](std::string line) {
        char* argv[max_args];
        const int argc = split_command_line(line.data(), argv);
        EXPECT_STREQ(argv[0], program_title);
        return Args(argv + 1, argv + argc);
    };
    EXPECT_EQ(split("  /800x600 \tshorex \"c d\""), (Args{"/800x600", "shorex", "\"c", "d\""}));
    EXPECT_EQ(split(" a\tb  c "), (Args{"a", "b", "c"}));
    EXPECT_EQ(split("x"), (Args{"x"}));
    EXPECT_EQ(split("\t"), Args{});
    EXPECT_EQ(split(""), Args{});
    std::string line;
    for (int i = 0; i < 100; ++i) line += "a" + std::to_string(i) + " ";
    EXPECT_EQ(split(line).size(), 63u);
    EXPECT_EQ(split(line).back(), "a62");
    for (auto [args, window, help, version, sky, night] :
         {std::tuple{Args{"--window", "-h", "--night"}, true, true, false, false, true},
          {Args{"--version", "--windows", "-H", "--sky"}, false, false, true, true, false},
          {Args{"/800x600", "--help", "--Sky", "--nights"}, false, true, false, false, false},
          {Args{}, false, false, false, false, false}}) {
        std::vector<char*> argv{const_cast<char*>(program_title)};
        for (auto& a : args) argv.push_back(a.data());
        const Flags f = scan_flags(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(std::tie(f.window, f.help, f.version, f.sky, f.night), std::tie(window, help, version, sky, night))
            << args.size();
    }

    const std::string fits = "sh" + std::string(249, 'x');  // with ".dat" and NUL, 256 bytes
    const struct {
        Args args;
        int32_t xres, yres;
        std::string shore, bord;
        size_t messages;
    } cases[] = {
        {{}, 640, 480, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/800x600", "shorehi", "bords.bin"}, 800, 600, "shorehi.dat", "bords.bin", 0},
        {{"/1024x768", "/800x600", "Shore", "sHORE.DAT", "BOrders"}, 1024, 768, "Shore.dat", "BOrders.dat", 0},
        {{"/640x480x8", "xshore", "s"}, 640, 480, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/800,600"}, 800, 600, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/1024"}, 1024, 480, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/x300"}, 0, 300, "SHOREX.DAT", "BORDX.DAT", 0},
        // Every digit, and sizes past eight digits held where they saturate.
        {{"/1920x1080"}, 1920, 1080, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/2345x6789"}, 2345, 6789, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/99999999x100000000"}, 99999999, 100000000, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/999999999999x1000000009"}, 999999999, 100000000, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/0x0"}, 0, 0, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"/"}, 0, 480, "SHOREX.DAT", "BORDX.DAT", 0},
        {{"SH", "bO"}, 640, 480, "SH.dat", "bO.dat", 0},
        {{"Sh.", "sb", "ob"}, 640, 480, "Sh.", "BORDX.DAT", 0},
        {{fits}, 640, 480, fits + ".dat", "BORDX.DAT", 0},
        {{fits + "x", "bo" + std::string(250, 'x')}, 640, 480, "SHOREX.DAT", "BORDX.DAT", 2},
    };
    for (auto c : cases) {
        std::vector<char*> argv{const_cast<char*>(program_title)};
        for (auto& a : c.args) argv.push_back(a.data());
        Settings s;
        std::vector<std::string> messages;
        apply_arguments(static_cast<int>(argv.size()), argv.data(), s, messages);
        const std::string label = c.args.empty() ? "" : c.args[0];
        EXPECT_EQ(std::tie(s.xres, s.yres, s.shore_filename, s.bord_filename), std::tie(c.xres, c.yres, c.shore, c.bord))
            << label;
        EXPECT_EQ(messages.size(), c.messages) << label;
    }
}
