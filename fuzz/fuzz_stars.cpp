// Feeds arbitrary bytes to the star catalogue decoder: it must refuse or
// accept without reading past the image, and what it accepts must hold
// together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sky/stars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Stars stars;
    stars.starv = {0, 0, -1};
    stars.starcol = {9};
    const Result decoded = decodestars(data, size, stars);
    size_t n = static_cast<size_t>(stars.numstars());
    if (stars.starv.size() != 3 * n || stars.starcol.size() != n) std::abort();
    if (!decoded.ok() && (n != 1 || stars.starcol[0] != 9)) std::abort();
    for (size_t i = 0; i < 3 * n; i += 3) {
        float x = stars.starv[i], y = stars.starv[i + 1], z = stars.starv[i + 2];
        float r2 = x * x + y * y + z * z;
        if (r2 < 0.999f || r2 > 1.001f) std::abort();
    }
    return 0;
}
