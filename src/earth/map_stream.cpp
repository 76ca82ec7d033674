#include "earth/map_stream.h"

#include "core/file_reader.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <stdexcept>

namespace {

// Widest magnitude: a 25-bit field behind the implied top bit.
constexpr int max_step_bits = 26;

std::optional<int32_t> read_delta(BitReader& reader, int bits)
{
    if (bits == 0) return 0;
    if (bits > max_step_bits) return std::nullopt;
    int32_t magnitude = 1;
    if (bits >= 2) magnitude = (int32_t{1} << (bits - 1)) + static_cast<int32_t>(getbits(reader, bits - 1));
    return getbits(reader, 1) ? -magnitude : magnitude;
}

int magnitude_bits(int32_t delta)
{
    return delta == 0 ? 0 : std::bit_width(static_cast<uint32_t>(std::abs(delta)));
}

void write_delta(BitWriter& writer, int32_t delta)
{
    const int bits = magnitude_bits(delta);
    if (bits == 0) return;
    const uint32_t magnitude = static_cast<uint32_t>(std::abs(delta));
    if (bits >= 2) putbits(writer, magnitude - (1u << (bits - 1)), bits - 1);
    putbits(writer, delta < 0 ? 1 : 0, 1);
}

}  // namespace

bool map_units(int32_t n, MapUnits& units)
{
    if (n < 3 || n > (int32_t{1} << 25)) return false;
    units.units = n;
    units.lonbits = std::bit_width(static_cast<uint32_t>(n - 1));
    units.half = n >> 1;
    units.quarter = n >> 2;
    units.scale = std::numbers::pi / (n * 0.5);
    return true;
}

bool read_first_point(BitReader& reader, const MapUnits& units, MapPoint& point)
{
    const int32_t lon_field = static_cast<int32_t>(getbits(reader, units.lonbits));
    const int32_t lat_field = static_cast<int32_t>(getbits(reader, units.lonbits - 1));
    point = {lon_field - units.half, lat_field - units.quarter};
    return lon_field < units.units && point.lat <= units.quarter;
}

bool read_step(BitReader& reader, int symbol, const MapUnits& units, MapPoint& point)
{
    // The longitude's bits come first in the stream.
    const std::optional<int32_t> dx = read_delta(reader, symbol & 31);
    const std::optional<int32_t> dy = dx ? read_delta(reader, symbol >> 5) : std::nullopt;
    if (!dy || std::abs(*dx) >= units.units) return false;
    int32_t lon = point.lon + *dx;
    if (lon < -units.half) lon += units.units;
    if (lon >= units.half) lon -= units.units;
    const int32_t lat = point.lat + *dy;
    if (std::abs(lat) > units.quarter) return false;
    point = {lon, lat};
    return true;
}

Vec3f map_vector(const MapUnits& units, MapPoint point, double ysign)
{
    const double lon = point.lon * units.scale;
    const double lat = point.lat * units.scale;
    return {static_cast<float>(std::sin(lon) * std::cos(lat)), static_cast<float>(ysign * std::sin(lat)),
            static_cast<float>(-std::cos(lat) * std::cos(lon))};
}

Result load_map_file(const std::string& path, const std::function<Result(std::span<const uint8_t>)>& decode)
{
    // Far beyond any map: the shipped shorelines take 100 KB.
    constexpr size_t max_map_bytes = size_t{64} << 20;
    std::vector<uint8_t> bytes;
    const Result read = read_whole_file(path, max_map_bytes, bytes);
    return read.ok() ? decode(bytes) : read;
}

Result damaged_map() { return failed("its data are damaged or cut short"); }

int32_t read_le32(std::span<const uint8_t> bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return static_cast<int32_t>(value);
}

void write_first_point(BitWriter& writer, const MapUnits& units, MapPoint point)
{
    const int64_t lon_field = int64_t{point.lon} + units.half;
    const int64_t lat_field = int64_t{point.lat} + units.quarter;
    if (lon_field < 0 || point.lon >= units.half || lat_field < 0 || point.lat > units.quarter ||
        lat_field >= (int64_t{1} << (units.lonbits - 1)))
        throw std::invalid_argument("first point outside the range of its fields");
    putbits(writer, static_cast<uint32_t>(lon_field), units.lonbits);
    putbits(writer, static_cast<uint32_t>(lat_field), units.lonbits - 1);
}

MapPoint step_between(const MapUnits& units, MapPoint a, MapPoint b)
{
    if (std::abs(b.lat) > units.quarter) throw std::invalid_argument("latitude beyond a pole");
    if (b.lon < -units.half || b.lon >= units.half) throw std::invalid_argument("longitude out of range");
    int32_t dx = b.lon - a.lon;
    if (dx < -units.half) dx += units.units;
    if (dx >= units.units - units.half) dx -= units.units;
    return {dx, b.lat - a.lat};
}

int step_symbol(MapPoint step)
{
    const int kx = magnitude_bits(step.lon);
    const int ky = magnitude_bits(step.lat);
    if (kx > max_step_bits || ky >= 26) throw std::invalid_argument("step too large for the code");
    return ky * 32 + kx;
}

void write_step_fields(BitWriter& writer, MapPoint step)
{
    write_delta(writer, step.lon);
    write_delta(writer, step.lat);
}

void write_le32(std::vector<uint8_t>& bytes, int32_t value)
{
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}
