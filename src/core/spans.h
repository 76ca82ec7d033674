#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The per-row span work area of the renderers: up to 512 x positions per row
// (xp) and the number in use (xpcnt). Sized with the frame; a row never takes
// more than its 512 entries, further ones are dropped.
struct Spans {
    static constexpr int32_t per_row = 512;
    std::vector<int32_t> xp;     // rows * per_row
    std::vector<int32_t> xpcnt;  // rows
    int32_t rows = 0;

    int32_t* row(int32_t y) { return xp.data() + static_cast<size_t>(y) * per_row; }
    const int32_t* row(int32_t y) const { return xp.data() + static_cast<size_t>(y) * per_row; }
    void push(int32_t y, int32_t x) {
        int32_t& n = xpcnt[static_cast<size_t>(y)];
        if (n < per_row) row(y)[n++] = x;
    }
};

// A span work area for `rows` rows, every one empty; std::bad_alloc when
// memory runs out.
Spans make_spans(int32_t rows);
