#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "support/work_dir.h"

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesOrRefusesAndLeavesNothingBehind)
{
    WorkDir dir;
    std::ofstream("old") << "old";
    fs::create_directory("folder");
    const struct {
        const char* path;
        const char* bytes;
        bool replace;
        const char* error;
    } writes[] = {
        {"old", "new", true, ""},         {"kept", "new", false, ""},
        {"kept", "x", false, "File exists"}, {"folder", "x", true, "Is a directory"},
        {"missing/x", "x", true, "No such file or directory"}, {"/dev/full", "x", true, "No space left on device"},
        {"/dev/null", "x", true, ""},
    };
    for (const auto& w : writes) {
        const std::string text = w.bytes;
        EXPECT_EQ(write_file_atomically(w.path, std::vector<uint8_t>(text.begin(), text.end()), w.replace), w.error)
            << w.path;
    }
    for (const char* name : {"old", "kept"}) {
        std::ifstream in(name);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new") << name;
    }
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"folder", "kept", "old"}));
}
