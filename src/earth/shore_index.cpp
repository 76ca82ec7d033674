#include <algorithm>
#include <cstdint>
#include <cstdlib>

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
    const int64_t n = shore.pointcnt;
    for (int64_t i = 0; i < n; ++i) shore.index[static_cast<size_t>(i)] = static_cast<int32_t>(i);
    auto lon = [&](int32_t p) { return shore.ll[static_cast<size_t>(p)].lon; };
    // Shell sort with the gaps 2^k - 1; entries move back only past strictly
    // greater longitudes.
    int64_t h = 1;
    while (h < n) h = 2 * h + 1;
    while (h / 2 > 0) {
        h /= 2;
        for (int64_t i = h; i < n; ++i) {
            const int32_t t = shore.index[static_cast<size_t>(i)];
            int64_t j = i;
            for (; j >= h && lon(shore.index[static_cast<size_t>(j - h)]) > lon(t); j -= h)
                shore.index[static_cast<size_t>(j)] = shore.index[static_cast<size_t>(j - h)];
            shore.index[static_cast<size_t>(j)] = t;
        }
    }
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
