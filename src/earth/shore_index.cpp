#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
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
    // Equal longitudes keep the order of their points. Any order of them
    // would serve, as the point-in-land walks depend only on the longitudes
    // in order.
    std::iota(shore.index.begin(), shore.index.end(), 0);
    std::stable_sort(shore.index.begin(), shore.index.end(), [&](int32_t a, int32_t b) {
        return shore.ll[static_cast<size_t>(a)].lon < shore.ll[static_cast<size_t>(b)].lon;
    });
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
