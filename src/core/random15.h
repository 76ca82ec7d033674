#pragma once
#include <cstdint>

// The 15-bit linear congruential generator of the C library the viewer grew
// up with: values 0 to 32767, seed advanced in place.
inline int32_t rand15(uint32_t& seed)
{
    seed = seed * 214013u + 2531011u;
    return static_cast<int32_t>((seed >> 16) & 0x7FFF);
}
