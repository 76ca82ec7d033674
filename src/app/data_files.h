#pragma once
#include <string>

#include "app/settings.h"

// The path to open for a data file: as named when it exists there or names a
// folder; otherwise the copy in the data folder, when there is one. With
// data_dir_first the data folder's copy comes first.
std::string find_data_file(const std::string& name, const Settings& settings);

// The data folder of an installed program (bin/../share/globe) or of a build
// tree (the source tree's data/), whichever exists.
std::string default_data_dir(const char* executable_path);
