#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"

// The star catalogue: unit directions in the space frame (x to right
// ascension 6h, y to the south celestial pole, z to 12h) and brightnesses.
struct Stars {
    std::vector<float> starv;      // x, y, z of each star
    std::vector<uint8_t> starcol;  // the brightness of each star, 0 (invisible) to 255

    int32_t numstars() const { return static_cast<int32_t>(starcol.size()); }
};

// Reads a catalogue file. A refused file leaves stars as it was; a file
// shorter than its count says keeps the stars whose record and brightness are
// both there, with a warning.
Result loadstars(const std::string& path, Stars& stars);

// The same from a file image in memory.
Result decodestars(const uint8_t* data, size_t size, Stars& stars);
