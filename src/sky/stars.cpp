#include "sky/stars.h"

#include "core/file_reader.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// A full turn of right ascension in 16 bits; half a turn of declination,
// counted towards the south celestial pole.
constexpr double ra_per_unit = 9.587379924285257e-05;
constexpr double dec_per_unit = 4.7936899621426287e-05;

int32_t read_le32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

int16_t read_le16(const uint8_t* p)
{
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}

// Stars whose 4-byte record and brightness byte both lie within size bytes.
int32_t complete_stars(int32_t count, size_t size)
{
    uint64_t records_end = 4 + 4 * static_cast<uint64_t>(count);
    if (size <= records_end) return 0;
    uint64_t brightnesses = size - records_end;
    return brightnesses < static_cast<uint64_t>(count) ? static_cast<int32_t>(brightnesses) : count;
}

}  // namespace

Result decodestars(const uint8_t* data, size_t size, Stars& stars)
{
    const char* const no_count = "its star count is missing or negative";
    if (size < 4) return failed(no_count);
    int32_t count = read_le32(data);
    if (count < 0) return failed(no_count);
    int32_t n = complete_stars(count, size);

    Stars loaded;
    try {
        loaded.starv.resize(static_cast<size_t>(n) * 3);
    } catch (const std::bad_alloc&) {
        return out_of_memory("starv");
    }
    try {
        loaded.starcol.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        return out_of_memory("starcol");
    }

    const uint8_t* records = data + 4;
    const uint8_t* brightness = records + 4 * static_cast<size_t>(count);
    for (int32_t i = 0; i < n; ++i) {
        double alpha = read_le16(records + 4 * static_cast<size_t>(i)) * ra_per_unit;
        double beta = read_le16(records + 4 * static_cast<size_t>(i) + 2) * dec_per_unit;
        float* v = loaded.starv.data() + 3 * static_cast<size_t>(i);
        v[0] = static_cast<float>(std::sin(alpha) * std::cos(beta));
        v[1] = static_cast<float>(std::sin(beta));
        v[2] = static_cast<float>(-std::cos(alpha) * std::cos(beta));
        loaded.starcol[static_cast<size_t>(i)] = brightness[i];
    }
    stars = std::move(loaded);
    if (n == count) return {};
    return warned("it holds only " + std::to_string(n) + " of the " + std::to_string(count) + " stars its count gives");
}

Result loadstars(const std::string& path, Stars& stars)
{
    // Three million stars; the shipped catalogue holds nine thousand.
    constexpr size_t max_star_bytes = size_t{16} << 20;
    std::vector<uint8_t> image;
    const Result read = read_whole_file(path, max_star_bytes, image);
    return read.ok() ? decodestars(image.data(), image.size(), stars) : read;
}
