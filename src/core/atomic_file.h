#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "core/result.h"

// Writes bytes to path so that the file appears only when complete: through a
// temporary file in the same folder, flushed to disk, then renamed over path
// (or, with replace false, linked, so that an existing file is never
// replaced). A path naming an existing file that is not a regular file
// (/dev/stdout, a pipe) is written directly. A failure leaves no temporary
// file and the old file untouched.
Result write_file_atomically(const std::string& path, std::span<const uint8_t> bytes, bool replace = true);
