#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "earth/map_stream.h"

// Border polylines as loaded from the border file. Point k is joined to
// point k - 1 unless it starts a polyline.
struct Borders {
    int32_t bordunits = 0;  // angle units per full turn
    std::vector<Vec3f> polv;         // unit vector of each point (north is -y)
    std::vector<uint8_t> polineto;   // bit k (least significant first) set: point k starts a polyline

    int32_t polcnt() const { return static_cast<int32_t>(polv.size()); }
};

bool starts_polyline(const Borders& borders, int32_t k);

// Loads a border file into borders. It fails when the file cannot be read or
// is malformed (including a stream whose first point does not start a
// polyline), or when an array cannot be had (out_of_memory); borders is then
// untouched.
Result loadbords(const std::string& path, Borders& borders);
Result loadbords_bytes(std::span<const uint8_t> bytes, Borders& borders);
