#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The star catalogue: unit directions in the space frame (x to right
// ascension 6h, y to the south celestial pole, z to 12h) and brightnesses.
struct Stars {
    int32_t numstars = 0;
    std::vector<float> starv;      // numstars * 3: x, y, z of each star
    std::vector<uint8_t> starcol;  // numstars brightnesses, 0 (invisible) to 255
};

// Reads a catalogue file: "" on success, otherwise the message to show. A
// refused file leaves stars as it was; a file shorter than its count says
// keeps the stars whose record and brightness are both there.
// When reason is given it receives why the file was refused or cut short, or "".
std::string loadstars(const std::string& path, Stars& stars, std::string* reason = nullptr);

// The same from a file image in memory.
std::string decodestars(const uint8_t* data, size_t size, Stars& stars);
