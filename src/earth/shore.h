#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "earth/map_stream.h"

// Bytes of the piece table; it holds LPSALLOC / sizeof(Piece) records.
constexpr int32_t LPSALLOC = 32768;

// A bounding cap of a run of shoreline points: every point p of the run has
// p . axis >= cos(theta). Lets the renderer drop a hidden run with one test.
struct Piece {
    float q[3];        // axis * cos(theta): the centre of the cap's circle
    float cos2;        // cos(theta)^2
    float cossin;      // cos(theta) * sin(theta)
    int32_t end;       // one past the run's last point
    int32_t loop;      // the loop that holds point end (loopcnt() for the last piece)
    int32_t loop_end;  // one past that loop's last point (pointcnt() for the last piece)
};
static_assert(sizeof(Piece) == 32);
constexpr int32_t lps_records = LPSALLOC / static_cast<int32_t>(sizeof(Piece));

// Shoreline loops as loaded from the shoreline file. Loops lie one after
// another; a loop is closed (its last point joins its first). Latitudes are
// negative in the northern hemisphere.
struct Shore {
    int32_t shoreunits = 0;  // angle units per full turn (N)
    double units_half = 0;   // N * 0.5
    int32_t maxdlon = 0;      // largest |dlon| of a segment that does not cross the date line
    int32_t maxdlonwrap = 0;  // largest longitude step of any segment, the date line considered

    std::vector<Vec3f> v;             // unit vector of each point
    std::vector<Piece> lps;           // covering all points in order
    std::vector<int32_t> loopnum;     // points of each loop
    std::vector<MapPoint> ll;         // lon, lat of each point
    std::vector<int32_t> point2;      // next point of the same loop
    std::vector<int32_t> index;       // all points by ascending longitude

    int32_t loopcnt() const { return static_cast<int32_t>(loopnum.size()); }
    int32_t pointcnt() const { return static_cast<int32_t>(ll.size()); }
    int32_t lpscnt() const { return static_cast<int32_t>(lps.size()); }
};

// Loads a shoreline file into shore. It fails when the file cannot be read or
// is malformed, or when an array cannot be had (out_of_memory); shore is then
// untouched. A piece table that filled up is a warning: the data is loaded
// all the same, with the last record covering the remaining points by a cap
// that is always taken as visible.
Result loadshore(const std::string& path, Shore& shore);
Result loadshore_bytes(std::span<const uint8_t> bytes, Shore& shore);

// Builds a shoreline set from loops of points, as the loader does after
// decoding them (for tools and tests), with the loader's piece warning.
Result shore_from_loops(int32_t units, const std::vector<std::vector<MapPoint>>& loops, Shore& shore);
