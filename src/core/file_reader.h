#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"

// Reads a whole data file into bytes. Only a regular file of at most
// max_bytes is read: a folder, a FIFO or a device is refused without waiting
// on it, and so is a file larger than its format can need, before any of it
// is read. Fails with why the file was not read (bytes are then left empty).
// Never throws.
Result read_whole_file(const std::string& path, size_t max_bytes, std::vector<uint8_t>& bytes);
