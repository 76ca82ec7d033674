#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

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
        EXPECT_EQ(write_file_atomically(path, std::vector<uint8_t>(bytes, bytes + strlen(bytes)), replace).reason, error)
            << path;
    // Writes cut short on regular files, by the size limit: no part left, the old file whole.
    rlimit was{};
    getrlimit(RLIMIT_FSIZE, &was);
    const rlimit small{2, was.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    for (const char* path : {"old", "big"})
        EXPECT_EQ(write_file_atomically(path, std::vector<uint8_t>(100), path[0] == 'o').reason, "File too large") << path;
    setrlimit(RLIMIT_FSIZE, &was);
    signal(SIGXFSZ, SIG_DFL);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.insert(entry.path().filename());
        std::ifstream in(entry.path());
        EXPECT_EQ(entry.is_directory() ? "new" : std::string(std::istreambuf_iterator<char>(in), {}), "new") << entry;
    }
    EXPECT_EQ(names, (std::set<std::string>{"folder", "kept", "old"}));
}
