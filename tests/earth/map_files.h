#pragma once
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "earth/bitstream.h"
#include "earth/map_stream.h"

// Hand-made map streams and files for the loader tests.

// Header fields followed by the bits of w.
inline std::vector<uint8_t> map_file(std::initializer_list<int32_t> header, const BitWriter& w)
{
    std::vector<uint8_t> bytes;
    for (int32_t field : header) write_le32(bytes, field);
    bytes.insert(bytes.end(), w.bytes.begin(), w.bytes.end());
    return bytes;
}

// A code table giving each listed symbol its length (ncols 32 is not
// possible, so symbols stay below column 31).
inline void put_lengths(BitWriter& w, std::initializer_list<std::pair<int, int>> symbol_lengths)
{
    int ncols = 0, nrows = 0;
    for (auto [s, len] : symbol_lengths) {
        ncols = std::max(ncols, s % 32 + 1);
        nrows = std::max(nrows, s / 32 + 1);
    }
    putbits(w, static_cast<uint32_t>(ncols), 5);
    putbits(w, static_cast<uint32_t>(nrows), 5);
    for (int r = 0; r < nrows; ++r)
        for (int c = 0; c < ncols; ++c) {
            int len = 0;
            for (auto [s, l] : symbol_lengths)
                if (s == r * 32 + c) len = l;
            putbits(w, static_cast<uint32_t>(len), 5);
        }
}

// Writes a code given as text, first stream bit first.
inline void put_code(BitWriter& w, const char* bits)
{
    for (const char* c = bits; *c; ++c) putbits(w, *c == '1', 1);
}

// A file in the test's temporary folder, removed afterwards.
class TempFile {
public:
    TempFile(const std::string& name, const std::vector<uint8_t>& bytes)
        : path_(std::filesystem::temp_directory_path() / ("globe_map_test_" + std::to_string(::getpid()) + "_" + name))
    {
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};
