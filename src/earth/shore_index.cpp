#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "earth/shore_build.h"

void shore_vectors(Shore& shore)
{
    MapUnits units;
    map_units(shore.shoreunits, units);
    for (size_t i = 0; i < shore.ll.size(); ++i) shore.v[i] = map_vector(units, shore.ll[i], 1.0);
}

void link_loops(Shore& shore)
{
    int32_t start = 0;
    for (int32_t count : shore.loopnum) {
        const int32_t last = start + count - 1;
        for (int32_t p = start; p < last; ++p) shore.point2[static_cast<size_t>(p)] = p + 1;
        shore.point2[static_cast<size_t>(last)] = start;
        start += count;
    }
}

void sort_index(Shore& shore)
{
    // A stable radix sort, 11 bits of the longitude (offset to unsigned) a
    // pass: equal longitudes keep the order of their points. Any order of
    // them would serve, as the point-in-land walks depend only on the
    // longitudes in order.
    constexpr int digit_bits = 11;
    constexpr uint32_t digits = 1u << digit_bits;
    const size_t n = shore.ll.size();
    auto key = [&](int32_t p) { return static_cast<uint32_t>(shore.ll[static_cast<size_t>(p)].lon) ^ 0x80000000u; };
    std::vector<int32_t> from(n), to(n);
    for (size_t i = 0; i < n; ++i) from[i] = static_cast<int32_t>(i);
    for (int shift = 0; shift < 32; shift += digit_bits) {
        std::vector<size_t> start(digits + 1);
        for (const int32_t p : from) ++start[((key(p) >> shift) & (digits - 1)) + 1];
        for (uint32_t d = 0; d < digits; ++d) start[d + 1] += start[d];
        for (const int32_t p : from) to[start[(key(p) >> shift) & (digits - 1)]++] = p;
        from.swap(to);
    }
    std::copy(from.begin(), from.end(), shore.index.begin());
}

void measure_dlon(Shore& shore)
{
    const int32_t half = shore.shoreunits >> 1;
    int32_t maxdlon = 0;
    int32_t maxwrap = 0;
    for (size_t a = 0; a < shore.ll.size(); ++a) {
        const int32_t d = std::abs(shore.ll[a].lon - shore.ll[static_cast<size_t>(shore.point2[a])].lon);
        if (d <= half) {
            if (d > maxdlon) maxdlon = d;
        } else {
            maxwrap = std::max(maxwrap, std::abs(d - shore.shoreunits));
        }
    }
    shore.maxdlon = maxdlon;
    shore.maxdlonwrap = std::max(maxwrap, maxdlon);
}
