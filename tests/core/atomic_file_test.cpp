#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstring>
#include <set>
#include <vector>

#include "support/work_dir.h"

TEST(AtomicFile, ReplacesOrRefusesAndLeavesNothingBehind)
{
    WorkDir dir;
    std::ofstream("old") << "old";
    std::filesystem::create_directory("folder");
    const std::tuple<const char*, const char*, bool, const char*> writes[] = {
        {"old", "new", true, ""}, {"kept", "new", false, ""}, {"kept", "x", false, "File exists"},
        {"folder", "x", true, "Is a directory"}, {"missing/x", "x", true, "No such file or directory"},
        {"/dev/full", "x", true, "No space left on device"}, {"/dev/null", "x", true, ""},
    };
    for (const auto& [path, bytes, replace, error] : writes)
        EXPECT_EQ(write_file_atomically(path, std::vector<uint8_t>(bytes, bytes + strlen(bytes)), replace), error) << path;
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.insert(entry.path().filename());
        std::ifstream in(entry.path());
        EXPECT_EQ(entry.is_directory() ? "new" : std::string(std::istreambuf_iterator<char>(in), {}), "new") << entry;
    }
    EXPECT_EQ(names, (std::set<std::string>{"folder", "kept", "old"}));
}
