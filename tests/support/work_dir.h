#pragma once
#include <stdlib.h>

#include <filesystem>
#include <string>

// A fresh folder made the working directory for the life of the object,
// removed with everything in it afterwards.
class WorkDir {
public:
    WorkDir() : old_(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "globe-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        std::filesystem::current_path(path_);
    }
    ~WorkDir()
    {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(path_);
    }
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

private:
    std::filesystem::path old_;
    std::filesystem::path path_;
};
