#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/palette_init.h"
#include "app/screenshot.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}


std::vector<uint8_t> encode(const std::vector<uint8_t>& pixels, int32_t w, int32_t h, int32_t pitch)
{
    WorkDir dir;
    Palette palette;
    build_palette(palette);
    EXPECT_EQ(write_pcx("x.pcx", pixels.data(), w, h, pitch, palette), 0);
    return read_file("x.pcx");
}

std::vector<uint8_t> image_data(const std::vector<uint8_t>& file)
{
    return {file.begin() + 128, file.end() - 769};
}

}  // namespace

TEST(Screenshot, SingleColourFrameLayout)
{
    const std::vector<uint8_t> pixels(640 * 480, 5);
    const auto file = encode(pixels, 640, 480, 640);
    ASSERT_EQ(file.size(), 11457u);
    EXPECT_EQ(file[0], 0x0A);
    EXPECT_EQ(file[1], 5);
    EXPECT_EQ(file[2], 1);
    EXPECT_EQ(file[3], 8);
    EXPECT_EQ(file[8] | file[9] << 8, 639);
    EXPECT_EQ(file[10] | file[11] << 8, 479);
    EXPECT_EQ(file[12] | file[13] << 8, 640);
    EXPECT_EQ(file[14] | file[15] << 8, 480);
    EXPECT_EQ(file[16 + 3 * 15], 120);
    EXPECT_EQ(file[65], 1);
    EXPECT_EQ(file[66] | file[67] << 8, 640);
    EXPECT_EQ(file[68], 0);
    const auto data = image_data(file);
    for (int i = 0; i < 20; i += 2) {
        EXPECT_EQ(data[static_cast<size_t>(i)], 0xC0 | 63);
        EXPECT_EQ(data[static_cast<size_t>(i + 1)], 5);
    }
    EXPECT_EQ(data[20], 0xC0 | 10);
    EXPECT_EQ(file[file.size() - 769], 0x0C);
    // Palette entry 79 is the last of the first ramp.
    EXPECT_EQ(file[file.size() - 768 + 79 * 3], 252);
    EXPECT_EQ(file[file.size() - 768 + 79 * 3 + 1], 192);
    EXPECT_EQ(file[file.size() - 768 + 79 * 3 + 2], 112);
}

TEST(Screenshot, RunsEscapesAndRowsWithAWidePitch)
{
    // Width 5 in a pitch of 8: the bytes past the width must not be encoded.
    const std::vector<uint8_t> pixels = {
        1, 0xC0, 2, 2, 0xC5, 9, 9, 9,  // row 0
        0xC5, 3, 3, 3, 3, 9, 9, 9,     // row 1 starts with the colour row 0 ended with
    };
    const auto data = image_data(encode(pixels, 5, 2, 8));
    const std::vector<uint8_t> expected = {1, 0xC1, 0xC0, 0xC2, 2, 0xC1, 0xC5, 0xC1, 0xC5, 0xC4, 3};
    EXPECT_EQ(data, expected);
}

TEST(Screenshot, NamesWrapAfterTenThousand)
{
    EXPECT_EQ(screenshot_name(0), "GLOB0000.PCX");
    EXPECT_EQ(screenshot_name(42), "GLOB0042.PCX");
    EXPECT_EQ(screenshot_name(9999), "GLOB9999.PCX");
    EXPECT_EQ(screenshot_name(10000), "GLOB0000.PCX");
}

TEST(Screenshot, NeverOverwritesAndFailsCleanly)
{
    WorkDir dir;
    Palette palette{};
    const std::vector<uint8_t> pixels(4 * 3, 1);
    std::ofstream("GLOB0000.PCX") << "keep";
    int32_t counter = 0;
    ASSERT_EQ(save_screenshot(&counter, pixels.data(), 4, 3, 4, palette), 0);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(read_file("GLOB0000.PCX"), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(read_file("GLOB0001.PCX").size(), 128u + 3 * 2 + 769);
    for (const auto& entry : fs::directory_iterator(".")) EXPECT_EQ(entry.path().extension(), ".PCX");

    if (geteuid() != 0) {  // root writes into read-only folders anyway
        chmod(".", 0500);
        EXPECT_EQ(save_screenshot(&counter, pixels.data(), 4, 3, 4, palette), -1);
        EXPECT_EQ(counter, 2);
        chmod(".", 0700);
    }
    EXPECT_EQ(write_pcx("no-such-dir/x.pcx", pixels.data(), 4, 3, 4, palette), -1);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(write_pcx("/dev/full", pixels.data(), 4, 3, 4, palette), -1);
    }
}
