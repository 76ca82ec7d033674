#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/atomic_file.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(AtomicFile, ReplacesOrRefusesAndLeavesNothingBehind)
{
    WorkDir dir;
    const std::vector<uint8_t> bytes{'n', 'e', 'w'};
    std::ofstream("old") << "old";
    fs::create_directory("folder");
    EXPECT_EQ(write_file_atomically("old", bytes), "");
    EXPECT_EQ(contents("old"), "new");
    EXPECT_EQ(write_file_atomically("kept", bytes, false), "");
    EXPECT_EQ(write_file_atomically("kept", std::vector<uint8_t>{'x'}, false), "File exists");
    EXPECT_EQ(contents("kept"), "new");
    EXPECT_EQ(write_file_atomically("folder", bytes), "Is a directory");
    EXPECT_EQ(write_file_atomically("missing/x", bytes), "No such file or directory");
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(write_file_atomically("/dev/full", bytes), "No space left on device");
    }
    EXPECT_EQ(write_file_atomically("/dev/null", bytes), "");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder", "kept", "old"}));
}
