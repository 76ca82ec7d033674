#pragma once
#include <cstdint>

// Lines are stepped across the screen in 18-bit fixed point: exact enough
// for any frame, and cheap to step.
constexpr int fix_bits = 18;
constexpr double fix_one = 1 << fix_bits;

inline int32_t fix_whole(int64_t v) { return static_cast<int32_t>(v >> fix_bits); }
