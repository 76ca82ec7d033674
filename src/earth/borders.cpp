#include "earth/borders.h"

#include <new>

#include "earth/huffman.h"

namespace {

constexpr size_t header_bytes = 8;

Result allocate(Borders& borders, int32_t points)
{
    try {
        borders.polv.resize(static_cast<size_t>(points));
    } catch (const std::bad_alloc&) {
        return out_of_memory("polv");
    }
    try {
        borders.polineto.assign((static_cast<size_t>(points) + 7) / 8, 0);
    } catch (const std::bad_alloc&) {
        return out_of_memory("polineto");
    }
    return {};
}

// False for a malformed stream: a bad code table or code, a first record
// that is a step, a point off the globe or data ending early.
bool decode_points(BitReader& reader, const MapUnits& units, Borders& borders)
{
    HuffCode code;
    if (!read_code(reader, code)) return false;
    MapPoint point;
    for (int32_t k = 0; k < borders.polcnt(); ++k) {
        const int symbol = gethuff(reader, code);
        if (symbol < 0) return false;
        if (symbol == 0) {
            if (!read_first_point(reader, units, point)) return false;
            borders.polineto[static_cast<size_t>(k) / 8] |= static_cast<uint8_t>(1u << (k % 8));
        } else if (k == 0 || !read_step(reader, symbol, units, point)) {
            return false;
        }
        borders.polv[static_cast<size_t>(k)] = map_vector(units, point, -1.0);
        if (bits_overrun(reader)) return false;
    }
    return true;
}

}  // namespace

bool starts_polyline(const Borders& borders, int32_t k)
{
    return (borders.polineto[static_cast<size_t>(k) / 8] >> (k % 8)) & 1;
}

Result loadbords(const std::string& path, Borders& borders)
{
    return load_map_file(path, [&](std::span<const uint8_t> bytes) { return loadbords_bytes(bytes, borders); });
}

Result loadbords_bytes(std::span<const uint8_t> bytes, Borders& borders)
{
    if (bytes.size() < header_bytes) return damaged_map();
    const int32_t n = read_le32(bytes, 0);
    const int32_t points = read_le32(bytes, 4);
    const std::span<const uint8_t> stream = bytes.subspan(header_bytes);
    MapUnits units;
    // Every point takes at least one bit, so a count beyond that is a lie
    // that must not size the arrays.
    if (!map_units(n, units) || points < 0 || static_cast<uint64_t>(points) > stream.size() * 8)
        return damaged_map();

    Borders fresh;
    if (Result allocated = allocate(fresh, points); !allocated.ok()) return allocated;
    fresh.bordunits = n;
    BitReader reader;
    initbits(reader, stream);
    if (!decode_points(reader, units, fresh)) return damaged_map();
    borders = std::move(fresh);
    return {};
}
