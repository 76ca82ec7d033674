#pragma once
#include <cstdint>
#include <vector>

#include "earth/map_stream.h"

// Writes the shoreline and border file formats, for the data recipe and the
// tests. Points are in the file's units: longitudes in [-N/2, N/2),
// latitudes within a quarter turn of the equator, and the first point of a
// loop or polyline must fit its fields (latitude below +N/4 when N is a power
// of two). A repeated point cannot be written as a step and is left out.
// Throws std::invalid_argument for anything the format cannot hold.

// Closed loops: the last point joins the first, so it is not repeated.
std::vector<uint8_t> encode_shore(int32_t units, const std::vector<std::vector<MapPoint>>& loops);
// Open polylines.
std::vector<uint8_t> encode_bords(int32_t units, const std::vector<std::vector<MapPoint>>& lines);
