#pragma once
#include <cmath>
#include <cstdint>

// Nearest integer (halves to even) of v clamped into [lo, hi]; NaN gives lo.
// Clamping first keeps every float-to-int conversion in range, however far
// off the screen a projected point or a conic's extent lands.
inline int32_t rnd_clamp(double v, int32_t lo, int32_t hi)
{
    if (!(v >= lo)) return lo;
    if (v >= hi) return hi;
    return static_cast<int32_t>(std::nearbyint(v));
}
