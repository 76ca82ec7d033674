#pragma once
#include <cstdint>
#include <vector>

// GIF's LZW code sizes: a pixel is one byte, and the 4096-entry table needs
// at least one code beyond the clear and end codes.
constexpr int32_t lzw_min_code_size = 2;
constexpr int32_t lzw_max_code_size = 8;

// The compressed picture of one GIF image: its minimum code size and its data
// sub-blocks joined without their length bytes.
struct LzwData {
    int32_t code_size = 0;
    std::vector<uint8_t> bytes;
};

// Where the decoded rows go: the file holds image_height rows of `width`
// pixels, top to bottom or in the four interlace passes; only the top
// kept_rows (at most image_height) are stored, at pic + row * width.
struct PictureLayout {
    int32_t width = 0;
    int32_t image_height = 0;
    int32_t kept_rows = 0;
    bool interlaced = false;
};

// Decodes until every kept row is complete; whatever follows is not examined.
// Returns nullptr on success, otherwise why the data was refused (a code
// beyond the next free code, an end code or the end of the data before the
// last kept row, a code size outside the range above). Never touches memory
// outside pic[0, width * kept_rows).
const char* lzw_decode(const LzwData& data, const PictureLayout& layout, uint8_t* pic);
