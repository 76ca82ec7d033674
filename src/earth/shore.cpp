#include "earth/shore.h"

#include <new>
#include <stdexcept>

#include "earth/huffman.h"
#include "earth/shore_build.h"
#include "core/prefault.h"

namespace {

constexpr size_t header_bytes = 12;

template <class T>
bool allot(std::vector<T>& array, size_t count)
{
    try {
        reserve_prefaulted(array, count);
        array.resize(count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

Result allocate(Shore& shore, int32_t loops, int32_t points)
{
    const auto p = static_cast<size_t>(points);
    if (!allot(shore.v, p)) return out_of_memory("v");
    try {
        shore.lps.reserve(lps_records);
    } catch (const std::bad_alloc&) {
        return out_of_memory("lps");
    }
    if (!allot(shore.loopnum, static_cast<size_t>(loops))) return out_of_memory("loopnum");
    if (!allot(shore.ll, p)) return out_of_memory("ll");
    if (!allot(shore.point2, p)) return out_of_memory("point2");
    if (!allot(shore.index, p)) return out_of_memory("index");
    return {};
}

// Decodes the loops into ll and loopnum. False for a malformed stream: a bad
// code table or code, a point off the globe, a point count other than the
// header's, or data ending early.
bool decode_loops(BitReader& reader, const MapUnits& units, Shore& shore)
{
    HuffCode code;
    if (!read_code(reader, code)) return false;
    const int32_t points = shore.pointcnt();
    int32_t count = 0;
    for (int32_t& loop_points : shore.loopnum) {
        if (count == points) return false;
        const int32_t start = count;
        MapPoint point;
        if (!read_first_point(reader, units, point)) return false;
        shore.ll[static_cast<size_t>(count++)] = point;
        for (;;) {
            const int symbol = gethuff(reader, code);
            if (symbol < 0) return false;
            if (symbol == 0) break;
            if (count == points || !read_step(reader, symbol, units, point)) return false;
            shore.ll[static_cast<size_t>(count++)] = point;
        }
        if (bits_overrun(reader)) return false;
        loop_points = count - start;
    }
    return count == points && !bits_overrun(reader);
}

Result complete(Shore& shore)
{
    shore.units_half = shore.shoreunits * 0.5;
    shore_vectors(shore);
    link_loops(shore);
    sort_index(shore);
    measure_dlon(shore);
    if (build_pieces(shore)) return {};
    return warned("its " + std::to_string(shore.pointcnt()) + " points need more than the " +
                  std::to_string(lps_records) + " pieces of the table; the last covers the rest");
}

}  // namespace

Result loadshore(const std::string& path, Shore& shore)
{
    return load_map_file(path, [&](std::span<const uint8_t> bytes) { return loadshore_bytes(bytes, shore); });
}

Result loadshore_bytes(std::span<const uint8_t> bytes, Shore& shore)
{
    if (bytes.size() < header_bytes) return damaged_map();
    const int32_t n = read_le32(bytes, 0);
    const int32_t loops = read_le32(bytes, 4);
    const int32_t points = read_le32(bytes, 8);
    const std::span<const uint8_t> stream = bytes.subspan(header_bytes);
    MapUnits units;
    // Every point takes at least one bit, so a count beyond that is a lie
    // that must not size the arrays.
    if (!map_units(n, units) || loops < 0 || points < loops || static_cast<uint64_t>(points) > stream.size() * 8)
        return damaged_map();

    Shore fresh;
    if (Result allocated = allocate(fresh, loops, points); !allocated.ok()) return allocated;
    fresh.shoreunits = n;
    BitReader reader;
    initbits(reader, stream);
    if (!decode_loops(reader, units, fresh)) return damaged_map();
    Result completed = complete(fresh);
    shore = std::move(fresh);
    return completed;
}

Result shore_from_loops(int32_t units, const std::vector<std::vector<MapPoint>>& loops, Shore& shore)
{
    MapUnits checked;
    if (!map_units(units, checked)) throw std::invalid_argument("units per turn out of range");
    Shore fresh;
    fresh.shoreunits = units;
    for (const auto& loop : loops) {
        if (loop.empty()) throw std::invalid_argument("a loop without points");
        fresh.loopnum.push_back(static_cast<int32_t>(loop.size()));
        fresh.ll.insert(fresh.ll.end(), loop.begin(), loop.end());
    }
    const auto p = fresh.ll.size();
    fresh.v.resize(p);
    fresh.point2.resize(p);
    fresh.index.resize(p);
    Result completed = complete(fresh);
    shore = std::move(fresh);
    return completed;
}
