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
    int32_t polcnt = 0;
    std::vector<Vec3f> polv;         // unit vector of each point (north is -y)
    std::vector<uint8_t> polineto;   // bit k (least significant first) set: point k starts a polyline
};

bool starts_polyline(const Borders& borders, int32_t k);

// Loads a border file into borders. Returns "" on success, else the message
// to show: "Can't load bords" when the file cannot be read or is malformed
// (including a stream whose first point does not start a polyline),
// "Out of memory (polv)" or "Out of memory (polineto)"; borders is then
// untouched.
// When reason is given it receives why the file was not loaded, or "".
std::string loadbords(const std::string& path, Borders& borders, std::string* reason = nullptr);
std::string loadbords_bytes(std::span<const uint8_t> bytes, Borders& borders);
