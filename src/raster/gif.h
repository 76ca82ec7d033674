#pragma once
#include <cstdint>
#include <vector>

// The decoded Earth image: pic_width * pic_height palette indices, top row first.
struct Texture {
    std::vector<uint8_t> pic;
    int32_t pic_width = 0;
    int32_t pic_height = 0;
};
