#include "earth/inland.h"

#include <cmath>
#include "core/float_bits.h"
#include <numbers>

namespace {

// Never reports a value as exceeding a non-negative limit it does not exceed.
bool exceeds(double value, double limit)
{
    return hi32(value) > hi32(limit);
}

// Whether the segment from a to b (longitudes da, db and latitudes ya, yb
// relative to the point) crosses the point's meridian on its northern side.
template <class Negative>
bool crosses_north(double da, double db, double ya, double yb, Negative negative)
{
    if (negative(da) == negative(db)) return false;
    if (negative(ya) == negative(yb)) return negative(ya);
    return negative(ya * db - yb * da) != negative(db);
}

struct Probe {
    const Shore& shore;
    double lon;
    double lat;

    const MapPoint& at(int32_t p) const { return shore.ll[static_cast<size_t>(p)]; }
    int32_t next(int32_t a) const { return shore.point2[static_cast<size_t>(a)]; }
    int32_t sorted(int64_t i) const { return shore.index[static_cast<size_t>(i)]; }
    bool wraps(int32_t a) const { return std::abs(at(a).lon - at(next(a)).lon) > shore.shoreunits / 2; }
};

// Away from the date line: the segments whose start lies within maxdlon of
// the point's longitude, found by halving through the sorted index.
int ordinary_case(const Probe& probe)
{
    const Shore& shore = probe.shore;
    const double maxd = shore.maxdlon;
    const int64_t count = shore.pointcnt();
    int64_t pos = 0;
    for (int64_t s = count; s / 2 > 0;) {
        s /= 2;
        if (exceeds(probe.lon - probe.at(probe.sorted(pos + s)).lon, maxd)) pos += s;
    }
    auto negative = [](double v) { return std::signbit(v); };
    int result = 0;
    for (int64_t i = pos; i < count; ++i) {
        const int32_t a = probe.sorted(i);
        const double da = probe.at(a).lon - probe.lon;
        if (exceeds(da, maxd)) break;
        // A segment across the date line cannot reach a meridian this far
        // from it, though its ends would seem to lie on both sides.
        if (probe.wraps(a)) continue;
        const MapPoint& b = probe.at(probe.next(a));
        if (crosses_north(da, b.lon - probe.lon, probe.at(a).lat - probe.lat, b.lat - probe.lat, negative)) result ^= 1;
    }
    return result;
}

// A longitude turned by half a turn, so that the date line falls at 0.
double turned_by_half(double lon, double half)
{
    return lon >= 0 ? lon - half : lon + half;
}

// Near the date line: longitudes turned by half a turn, the window found
// from both ends of the sorted index. The forward walk takes the western
// half (negative longitudes), the backward walk the eastern half, so no
// segment is counted twice however few points there are.
int date_line_case(const Probe& probe)
{
    const Shore& shore = probe.shore;
    const double half = shore.units_half;
    const double maxw = shore.maxdlonwrap;
    const double lon = turned_by_half(probe.lon, half);
    auto turned = [&](int32_t p) { return turned_by_half(probe.at(p).lon, half); };
    auto negative = [](double v) { return v < 0; };
    int result = 0;
    auto count_segment = [&](int32_t a) {
        const int32_t b = probe.next(a);
        // A segment across longitude 0 is far from here, though its turned
        // ends would seem to lie on both sides.
        if (std::abs(turned(b) - turned(a)) > half) return;
        if (crosses_north(turned(a) - lon, turned(b) - lon, probe.at(a).lat - probe.lat, probe.at(b).lat - probe.lat,
                          negative))
            result ^= 1;
    };
    const int64_t count = shore.pointcnt();
    for (int64_t i = 0; i < count; ++i) {
        const int32_t a = probe.sorted(i);
        if (probe.at(a).lon >= 0 || turned(a) - lon > maxw) break;
        count_segment(a);
    }
    for (int64_t i = count - 1; i >= 0; --i) {
        const int32_t a = probe.sorted(i);
        if (probe.at(a).lon < 0 || turned(a) - lon < -maxw) break;
        count_segment(a);
    }
    return result;
}

// Every segment, each in the longitudes in which it is whole: turned by
// half a turn when it crosses the date line, as they are otherwise.
int every_segment_case(const Probe& probe)
{
    const double half = probe.shore.units_half;
    const double lon = turned_by_half(probe.lon, half);
    int result = 0;
    for (int32_t a = 0; a < static_cast<int32_t>(probe.shore.pointcnt()); ++a) {
        const MapPoint& p = probe.at(a);
        const MapPoint& q = probe.at(probe.next(a));
        const double ya = p.lat - probe.lat, yb = q.lat - probe.lat;
        if (probe.wraps(a))
            result ^= crosses_north(turned_by_half(p.lon, half) - lon, turned_by_half(q.lon, half) - lon, ya, yb,
                                    [](double v) { return v < 0; });
        else
            result ^= crosses_north(p.lon - probe.lon, q.lon - probe.lon, ya, yb, [](double v) { return std::signbit(v); });
    }
    return result;
}

}  // namespace

int inland(const Shore& shore, double x, double y, double z)
{
    const double half = shore.units_half;
    const Probe probe{shore, std::atan2(x, -z) * half / std::numbers::pi,
                      std::atan2(y, std::sqrt(x * x + z * z)) * half / std::numbers::pi};
    if (std::fabs(probe.lon) < half - 1.2 * shore.maxdlonwrap) return ordinary_case(probe);
    // The date-line case leaves out the segments across longitude 0, which
    // cannot reach its points unless one spans more than the ordinary case's
    // margin leaves; with such long segments every one is taken.
    if (shore.maxdlon + 1.2 * shore.maxdlonwrap >= half) return every_segment_case(probe);
    return date_line_case(probe);
}
