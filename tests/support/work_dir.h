#pragma once
#include <stdlib.h>

#include <filesystem>
#include <string>

// A fresh folder made the working directory for the life of the object,
// removed with everything in it afterwards.
struct WorkDir {
    const std::filesystem::path old = std::filesystem::current_path();
    std::string path = (std::filesystem::temp_directory_path() / "globe-test-XXXXXX").string();
    WorkDir() { std::filesystem::current_path(mkdtemp(path.data())); }
    ~WorkDir()
    {
        std::filesystem::current_path(old);
        std::filesystem::remove_all(path);
    }
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;
};
