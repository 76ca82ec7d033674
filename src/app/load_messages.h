#pragma once
#include <string>

#include "core/result.h"

// The viewer's data files, for the texts it shows about loading them.
enum class DataFile { texture, shore, borders, stars, lights };

// What the viewer shows the user for a data file's load result; empty for
// nothing. Every such text is chosen here.
std::string load_message(DataFile file, const Result& result);
