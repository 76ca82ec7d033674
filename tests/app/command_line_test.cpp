#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

Args split(std::string line)
{
    char* argv[max_args];
    const int argc = split_command_line(line.data(), argv);
    return {argv + 1, argv + argc};
}

Settings apply(Args args, std::vector<std::string>& messages)
{
    std::vector<char*> argv{const_cast<char*>(program_title)};
    for (auto& a : args) argv.push_back(a.data());
    Settings settings;
    apply_arguments(static_cast<int>(argv.size()), argv.data(), settings, messages);
    return settings;
}

}  // namespace

TEST(CommandLine, SplitsOnBlanksAndKeepsSixtyFourEntries)
{
    EXPECT_EQ(split("  /800x600   shorex  "), (Args{"/800x600", "shorex"}));
    EXPECT_EQ(split(""), Args{});
    EXPECT_EQ(split("a\tb \"c d\""), (Args{"a", "b", "\"c", "d\""}));
    std::string line;
    for (int i = 0; i < 100; ++i) line += "a" + std::to_string(i) + " ";
    const Args args = split(line);
    ASSERT_EQ(args.size(), 63u);
    EXPECT_EQ(args.back(), "a62");

    char a0[] = "globe", a1[] = "--window", a2[] = "-h";
    char* argv[] = {a0, a1, a2};
    const Flags f = scan_flags(3, argv);
    EXPECT_TRUE(f.window && f.help && !f.version);
}

TEST(CommandLine, SizesAndNamesTheEarlierWins)
{
    const std::string fits = "sh" + std::string(249, 'x');  // 251 + ".dat" + NUL = 256 bytes
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
        {{fits}, 640, 480, fits + ".dat", "BORDX.DAT", 0},
        {{fits + "x", "bo" + std::string(250, 'x')}, 640, 480, "SHOREX.DAT", "BORDX.DAT", 2},
    };
    for (const auto& c : cases) {
        std::vector<std::string> messages;
        const Settings s = apply(c.args, messages);
        const std::string label = c.args.empty() ? "" : c.args[0];
        EXPECT_EQ(s.xres, c.xres) << label;
        EXPECT_EQ(s.yres, c.yres) << label;
        EXPECT_EQ(s.shore_filename, c.shore) << label;
        EXPECT_EQ(s.bord_filename, c.bord) << label;
        EXPECT_EQ(messages.size(), c.messages) << label;
    }
}
