#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

std::vector<std::string> split(std::string line)
{
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    char* argv[max_args];
    const int argc = split_command_line(buffer.data(), argv);
    return {argv, argv + argc};
}

Settings apply(std::vector<std::string> args, std::vector<std::string>* messages = nullptr)
{
    std::vector<char*> argv{const_cast<char*>(program_title)};
    for (auto& a : args) argv.push_back(a.data());
    Settings settings;
    std::vector<std::string> local;
    apply_arguments(static_cast<int>(argv.size()), argv.data(), settings, messages ? *messages : local);
    return settings;
}

}  // namespace

TEST(CommandLine, SplitsOnBlanksWithoutEmptyArguments)
{
    EXPECT_EQ(split("  /800x600   shorex  "), (std::vector<std::string>{program_title, "/800x600", "shorex"}));
    EXPECT_EQ(split("/800x600"), (std::vector<std::string>{program_title, "/800x600"}));
    EXPECT_EQ(split(""), (std::vector<std::string>{program_title}));
    EXPECT_EQ(split("a\tb \"c d\""), (std::vector<std::string>{program_title, "a", "b", "\"c", "d\""}));
    EXPECT_EQ(split(" x"), (std::vector<std::string>{program_title, "x"}));
}

TEST(CommandLine, KeepsAtMostSixtyFourEntries)
{
    std::string line;
    for (int i = 0; i < 100; ++i) line += "a" + std::to_string(i) + " ";
    const auto args = split(line);
    ASSERT_EQ(args.size(), 64u);
    EXPECT_EQ(args[63], "a62");
}

TEST(CommandLine, SizesAndNames)
{
    Settings s = apply({});
    EXPECT_EQ(s.xres, 640);
    EXPECT_EQ(s.yres, 480);
    EXPECT_EQ(s.shore_filename, "SHOREX.DAT");
    EXPECT_EQ(s.bord_filename, "BORDX.DAT");

    s = apply({"/800x600", "shorehi", "bords.bin"});
    EXPECT_EQ(s.xres, 800);
    EXPECT_EQ(s.yres, 600);
    EXPECT_EQ(s.shore_filename, "shorehi.dat");
    EXPECT_EQ(s.bord_filename, "bords.bin");

    s = apply({"/1024x768", "/800x600"});
    EXPECT_EQ(s.xres, 1024);
    EXPECT_EQ(s.yres, 768);

    s = apply({"/640x480x8"});
    EXPECT_EQ(s.xres, 640);
    EXPECT_EQ(s.yres, 480);

    s = apply({"/800,600"});
    EXPECT_EQ(s.yres, 600);
    s = apply({"/1024"});
    EXPECT_EQ(s.xres, 1024);
    EXPECT_EQ(s.yres, 480);
    s = apply({"/x300"});
    EXPECT_EQ(s.xres, 0);
    EXPECT_EQ(s.yres, 300);

    EXPECT_EQ(apply({"Shore"}).shore_filename, "Shore.dat");
    EXPECT_EQ(apply({"sHORE.DAT"}).shore_filename, "sHORE.DAT");
    EXPECT_EQ(apply({"xshore"}).shore_filename, "SHOREX.DAT");
    EXPECT_EQ(apply({"BOrders"}).bord_filename, "BOrders.dat");
    EXPECT_EQ(apply({"s"}).shore_filename, "SHOREX.DAT");
}

TEST(CommandLine, RefusesNamesTooLongForTheirBuffer)
{
    std::vector<std::string> messages;
    const std::string fits = "sh" + std::string(249, 'x');      // 251 + ".dat" + NUL = 256
    const std::string too_long = "sh" + std::string(250, 'x');  // 257 bytes needed
    EXPECT_EQ(apply({fits}, &messages).shore_filename, fits + ".dat");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(apply({too_long}, &messages).shore_filename, "SHOREX.DAT");
    ASSERT_EQ(messages.size(), 1u);
}

TEST(CommandLine, Flags)
{
    char a0[] = "globe", a1[] = "--window", a2[] = "-h";
    char* argv[] = {a0, a1, a2};
    const Flags f = scan_flags(3, argv);
    EXPECT_TRUE(f.window);
    EXPECT_TRUE(f.help);
    EXPECT_FALSE(f.version);
}
