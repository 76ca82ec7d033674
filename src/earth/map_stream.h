#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/result.h"
#include "earth/bitstream.h"

// What the shoreline and border files have in common besides the Huffman
// code: angle units, absolute first points and steps.

// Longitude and latitude in the file's angle units.
struct MapPoint {
    int32_t lon = 0;
    int32_t lat = 0;
    friend bool operator==(MapPoint, MapPoint) = default;
};

// A point's unit vector as the renderers keep it.
struct Vec3f {
    float x = 0;
    float y = 0;
    float z = 0;
};

// A file's units per full turn (N) and what follows from it.
struct MapUnits {
    int32_t units = 0;
    int lonbits = 0;       // smallest b with 2^b >= N
    int32_t half = 0;      // N >> 1
    int32_t quarter = 0;   // N >> 2
    double scale = 0;      // radians per unit
};

// False when N gives a first-point field outside 1..25 bits (N < 3 or N > 2^25).
bool map_units(int32_t n, MapUnits& units);

// Reads an absolute point. False when it lies off the globe: a longitude field
// of N or more, or a latitude beyond a pole.
bool read_first_point(BitReader& reader, const MapUnits& units, MapPoint& point);

// Applies the step of a non-zero symbol to point, with the longitude brought
// back into range across the date line. False for a malformed step: a
// magnitude field over 25 bits, a longitude step of a whole turn or more, or
// a latitude beyond a pole. Such values would only come from a corrupt stream,
// and refusing them keeps all later arithmetic in range.
bool read_step(BitReader& reader, int symbol, const MapUnits& units, MapPoint& point);

// Unit vector of a point; ysign is +1 for shorelines (north negative) and -1
// for borders (north positive).
Vec3f map_vector(const MapUnits& units, MapPoint point, double ysign);

// Reads a map file and decodes its bytes with decode.
Result load_map_file(const std::string& path, const std::function<Result(std::span<const uint8_t>)>& decode);
// A map stream that does not decode.
Result damaged_map();
int32_t read_le32(std::span<const uint8_t> bytes, size_t offset);

// Encoding. These throw std::invalid_argument for values the format cannot hold.
void write_first_point(BitWriter& writer, const MapUnits& units, MapPoint point);
// The step from a to b, the longitude taken the short way round.
MapPoint step_between(const MapUnits& units, MapPoint a, MapPoint b);
int step_symbol(MapPoint step);
void write_step_fields(BitWriter& writer, MapPoint step);
void write_le32(std::vector<uint8_t>& bytes, int32_t value);
