#pragma once
#include <cstdint>
#include <cstring>

// The upper 32 bits of a double as a signed integer: a cheap comparison,
// coarser than the values' own, that orders non-negative values rightly and
// puts every negative one below them.
inline int32_t hi32(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return static_cast<int32_t>(bits >> 32);
}
