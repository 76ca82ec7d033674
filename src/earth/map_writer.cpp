#include "earth/map_writer.h"

#include <stdexcept>

#include "earth/huffman.h"

namespace {

// One run of points as the stream holds it: the first point, then one step
// per further point (repeats dropped).
struct Run {
    MapPoint first;
    std::vector<MapPoint> steps;
};

std::vector<Run> runs_of(const MapUnits& units, const std::vector<std::vector<MapPoint>>& lists)
{
    std::vector<Run> runs;
    for (const auto& list : lists) {
        if (list.empty()) throw std::invalid_argument("a loop or polyline without points");
        Run run{list.front(), {}};
        for (size_t i = 1; i < list.size(); ++i) {
            const MapPoint step = step_between(units, list[i - 1], list[i]);
            if (step.lon != 0 || step.lat != 0) run.steps.push_back(step);
        }
        runs.push_back(std::move(run));
    }
    return runs;
}

int32_t point_count(const std::vector<Run>& runs)
{
    size_t count = 0;
    for (const Run& run : runs) count += 1 + run.steps.size();
    if (count > INT32_MAX) throw std::invalid_argument("too many points");
    return static_cast<int32_t>(count);
}

HuffCode code_for(const std::vector<Run>& runs)
{
    std::array<uint64_t, huff_symbols> counts{};
    for (const Run& run : runs) {
        ++counts[0];
        for (const MapPoint& step : run.steps) ++counts[static_cast<size_t>(step_symbol(step))];
    }
    HuffCode code;
    code.len = huff_lengths(counts);
    buildhuff(code);
    return code;
}

void write_steps(BitWriter& writer, const std::array<HuffCodeword, huff_symbols>& words, const Run& run)
{
    for (const MapPoint& step : run.steps) {
        puthuff(writer, words[static_cast<size_t>(step_symbol(step))]);
        write_step_fields(writer, step);
    }
}

MapUnits units_of(int32_t n)
{
    MapUnits units;
    if (!map_units(n, units)) throw std::invalid_argument("units per turn out of range");
    return units;
}

// The code table and the runs' bits. Symbol 0 closes each loop of a
// shoreline file and opens each polyline of a border file.
std::vector<uint8_t> encode_stream(const MapUnits& units, const std::vector<Run>& runs, bool marker_first)
{
    const HuffCode code = code_for(runs);
    const auto words = huff_codewords(code);
    BitWriter writer;
    write_code_lengths(writer, code);
    for (const Run& run : runs) {
        if (marker_first) puthuff(writer, words[0]);
        write_first_point(writer, units, run.first);
        write_steps(writer, words, run);
        if (!marker_first) puthuff(writer, words[0]);
    }
    return writer.bytes;
}

}  // namespace

std::vector<uint8_t> encode_shore(int32_t n, const std::vector<std::vector<MapPoint>>& loops)
{
    const MapUnits units = units_of(n);
    const std::vector<Run> runs = runs_of(units, loops);
    const std::vector<uint8_t> stream = encode_stream(units, runs, false);
    std::vector<uint8_t> bytes;
    write_le32(bytes, n);
    write_le32(bytes, static_cast<int32_t>(runs.size()));
    write_le32(bytes, point_count(runs));
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
}

std::vector<uint8_t> encode_bords(int32_t n, const std::vector<std::vector<MapPoint>>& lines)
{
    const MapUnits units = units_of(n);
    const std::vector<Run> runs = runs_of(units, lines);
    const std::vector<uint8_t> stream = encode_stream(units, runs, true);
    std::vector<uint8_t> bytes;
    write_le32(bytes, n);
    write_le32(bytes, point_count(runs));
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
}
