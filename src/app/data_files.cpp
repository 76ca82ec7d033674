#include "app/data_files.h"

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

std::string find_data_file(const std::string& name, const Settings& settings)
{
    if (name.find('/') != std::string::npos || settings.data_dir.empty()) return name;
    const fs::path candidate = fs::path(settings.data_dir) / name;
    const bool here = access(name.c_str(), F_OK) == 0;
    const bool there = access(candidate.c_str(), F_OK) == 0;
    return there && (settings.data_dir_first || !here) ? candidate.string() : name;
}

std::string default_data_dir(const char* executable_path)
{
    std::error_code ec;
    const fs::path exe = fs::canonical(executable_path ? executable_path : "", ec);
    if (!ec) {
        const fs::path installed = exe.parent_path().parent_path() / "share" / "globe";
        if (fs::is_directory(installed, ec)) return installed.string();
    }
    return fs::is_directory(GLOBE_SOURCE_DATA_DIR, ec) ? std::string(GLOBE_SOURCE_DATA_DIR) : std::string();
}
