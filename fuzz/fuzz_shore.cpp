// Feeds arbitrary bytes to the shoreline loader: it must refuse or accept
// without reading or writing outside its buffers, leave the previous
// shorelines alone when it refuses, and what it accepts must hold together
// well enough for the point-in-land test and the fill's walk: every loop
// holds a point, the loops hold every point.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "earth/inland.h"
#include "earth/shore.h"

namespace {

void check(const Shore& shore)
{
    const auto points = static_cast<size_t>(shore.pointcnt());
    if (shore.ll.size() != points || shore.v.size() != points || shore.point2.size() != points ||
        shore.index.size() != points || shore.loopnum.size() != static_cast<size_t>(shore.loopcnt()))
        std::abort();
    int64_t total = 0;
    for (int32_t n : shore.loopnum) {
        if (n < 1) std::abort();
        total += n;
    }
    if (total != shore.pointcnt()) std::abort();
    for (size_t i = 0; i < points; ++i)
        if (shore.point2[i] < 0 || static_cast<size_t>(shore.point2[i]) >= points || shore.index[i] < 0 ||
            static_cast<size_t>(shore.index[i]) >= points)
            std::abort();
    if (points && (shore.lps.empty() || shore.lps.back().end != shore.pointcnt())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Shore shore;
    shore_from_loops(4096, {{{1, 2}, {3, 4}, {5, 2}}}, shore);
    if (!loadshore_bytes({data, size}, shore).ok()) {
        if (shore.shoreunits != 4096 || shore.pointcnt() != 3 || shore.ll[2].lon != 5) std::abort();
        return 0;
    }
    check(shore);
    const double probes[][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0.001, 0, 1}, {-0.001, 0.3, 1}, {1, 0.2, -0.3}};
    for (const auto& p : probes) {
        const int land = inland(shore, p[0], p[1], p[2]);
        if (land != 0 && land != 1) std::abort();
    }
    for (size_t i = 0; i < shore.v.size() && i < 8; ++i) inland(shore, shore.v[i].x, shore.v[i].y, shore.v[i].z);
    return 0;
}
