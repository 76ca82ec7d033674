// Writes a shoreline or border file from text: "lon lat" lines in degrees
// (east and north positive), a blank line between loops or polylines.
//
// usage: encode_map shore|bords UNITS < TEXT > FILE
//
// Points are rounded to the file's units. Repeats that rounding makes are
// dropped, and so are loops left with fewer than three points and polylines
// left with fewer than two: they enclose or draw nothing.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "earth/map_writer.h"

namespace {

using List = std::vector<MapPoint>;

MapPoint to_units(double lon, double lat, const MapUnits& u, bool shore)
{
    const double per_degree = u.units / 360.0;
    auto lon_u = static_cast<int64_t>(std::lround(lon * per_degree)) % u.units;
    if (lon_u >= u.half) lon_u -= u.units;
    if (lon_u < -u.half) lon_u += u.units;
    auto lat_u = static_cast<int64_t>(std::lround(lat * per_degree));
    if (lat_u > u.quarter) lat_u = u.quarter;
    if (lat_u < -u.quarter) lat_u = -u.quarter;
    // Shoreline latitudes are negative in the north, border latitudes positive.
    return {static_cast<int32_t>(lon_u), static_cast<int32_t>(shore ? -lat_u : lat_u)};
}

std::vector<List> read_lists(std::istream& in, const MapUnits& u, bool shore)
{
    std::vector<List> lists(1);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            if (!lists.back().empty()) lists.emplace_back();
            continue;
        }
        std::istringstream fields(line);
        double lon = 0, lat = 0;
        std::string rest;
        if (!(fields >> lon >> lat) || (fields >> rest) || std::fabs(lon) > 360 || std::fabs(lat) > 90)
            throw std::runtime_error("line " + std::to_string(number) + ": expected 'lon lat' in degrees");
        lists.back().push_back(to_units(lon, lat, u, shore));
    }
    if (lists.back().empty()) lists.pop_back();
    return lists;
}

List without_repeats(const List& list, bool closed)
{
    List out;
    for (const MapPoint& p : list)
        if (out.empty() || !(out.back() == p)) out.push_back(p);
    while (closed && out.size() > 1 && out.back() == out.front()) out.pop_back();
    return out;
}

// A first point must fit its latitude field, which stops one unit short of
// the +quarter pole: a loop starts elsewhere, a polyline from its other end.
bool start_fits(List& list, const MapUnits& u, bool closed)
{
    for (size_t turn = 0; turn < list.size() && list.front().lat == u.quarter; ++turn) {
        if (closed)
            std::rotate(list.begin(), list.begin() + 1, list.end());
        else
            std::reverse(list.begin(), list.end());
    }
    return list.front().lat != u.quarter;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "shore") && std::strcmp(argv[1], "bords"))) {
        std::fputs("usage: encode_map shore|bords UNITS < TEXT > FILE\n", stderr);
        return 2;
    }
    const bool shore = !std::strcmp(argv[1], "shore");
    const auto units = static_cast<int32_t>(std::atol(argv[2]));
    MapUnits u;
    if (!map_units(units, u)) {
        std::fprintf(stderr, "encode_map: units out of range: %s\n", argv[2]);
        return 2;
    }
    try {
        const std::vector<List> lists = read_lists(std::cin, u, shore);
        std::vector<List> kept;
        size_t points = 0;
        for (const List& list : lists) {
            List clean = without_repeats(list, shore);
            if (clean.size() < (shore ? 3u : 2u) || !start_fits(clean, u, shore)) continue;
            points += clean.size();
            kept.push_back(std::move(clean));
        }
        const std::vector<uint8_t> bytes = shore ? encode_shore(units, kept) : encode_bords(units, kept);
        std::cout.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::fprintf(stderr, "encode_map %s: %zu of %zu %s kept, %zu points, %zu bytes\n", argv[1], kept.size(),
                     lists.size(), shore ? "loops" : "polylines", points, bytes.size());
        return std::cout.good() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "encode_map: %s\n", e.what());
        return 1;
    }
}
