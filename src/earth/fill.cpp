#include "earth/fill.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "earth/fill_caps.h"
#include "earth/fill_edges.h"
#include "earth/fill_geometry.h"
#include "core/random15.h"
#include "earth/inland.h"

namespace {

int32_t entries(const Spans& spans, int32_t rows, int32_t r)
{
    return r < rows ? spans.xpcnt[static_cast<size_t>(r)] : 0;
}

int32_t clamp_x(int32_t x, int32_t lo, int32_t hi) { return std::clamp(x, lo, std::max(lo, hi)); }

// 1 for sea, 0 for land at screen point (x, y).
int sea_at(const FillGeometry& g, const Shore& shore, double x, double y)
{
    const Vec3 p = sphere_hit(g, x, y);
    return 1 - inland(shore, p.x, p.y, p.z);
}

// How many of row r's shoreline crossings lie at or left of x.
int crossings_upto(const Spans& spans, int32_t r, int32_t x)
{
    const int32_t* row = spans.row(r);
    int n = 0;
    for (int32_t i = 2; i < spans.xpcnt[static_cast<size_t>(r)]; ++i) n += row[i] <= x;
    return n;
}

// The parity at the left end of row 0 that makes the point-in-land test's
// answer at pixel (x + 1, y) come out after the limb flips of rows 0 to y and
// the crossings of row y at or left of x.
int parity_from(const FillGeometry& g, const Shore& shore, const Spans& spans, const std::vector<uint8_t>& limbflip,
                int32_t y, int32_t x)
{
    int parity = sea_at(g, shore, x + 1, y + 0.5);
    for (int32_t i = 0; i <= y; ++i) parity ^= limbflip[static_cast<size_t>(i)];
    return parity ^ (crossings_upto(spans, y, x) & 1);
}

// The parity at the left end of row 0, from a random disc pixel at least 2
// pixels inside its row's span, away from the limb where the test is least
// sure; when 16 tries find none, from the top disc row's left end.
int probe_parity(const FillGeometry& g, const Shore& shore, const FrameBuffer& frame, const Spans& spans,
                 const std::vector<uint8_t>& limbflip, int32_t rows, uint32_t& seed)
{
    int32_t top = 0;
    while (top < rows && entries(spans, rows, top) < 2) ++top;
    if (top == rows) return 0;
    int32_t bottom = rows - 1;
    while (entries(spans, rows, bottom) < 2) --bottom;
    const int64_t ylo = top + 1, height = bottom - ylo;
    for (int tries = 0; tries < 16; ++tries) {
        const int64_t r = ylo + ((rand15(seed) * height) >> 15);
        if (r < 0 || r >= rows || entries(spans, rows, static_cast<int32_t>(r)) < 2) continue;
        const int32_t y = static_cast<int32_t>(r);
        const int32_t x0 = clamp_x(spans.row(y)[0], 0, frame.frame_xres);
        const int32_t x1 = clamp_x(spans.row(y)[1], 0, frame.frame_xres);
        const int32_t x = x0 + static_cast<int32_t>((rand15(seed) * int64_t{x1 - x0}) >> 15);
        if (x < x0 + 2 || x >= x1 - 2) continue;
        return parity_from(g, shore, spans, limbflip, y, x);
    }
    return parity_from(g, shore, spans, limbflip, top, spans.row(top)[0]);
}

// One disc row: 0 outside [e0, e1), the first run sea when parity is 1, the
// colour changing at every crossing.
void fill_row(uint8_t* pixels, int32_t xres, int32_t* row, int32_t count, int parity)
{
    const int32_t e0 = clamp_x(row[0], 0, xres);
    const int32_t e1 = clamp_x(row[1], e0, xres);
    std::sort(row + 2, row + count);
    std::memset(pixels, 0, static_cast<size_t>(e0));
    uint8_t colour = parity ? sea_colour : land_colour;
    int32_t x = e0;
    for (int32_t i = 2; i < count; ++i) {
        const int32_t c = clamp_x(row[i], e0, e1);
        std::memset(pixels + x, colour, static_cast<size_t>(c - x));
        x = c;
        colour ^= sea_colour ^ land_colour;
    }
    std::memset(pixels + x, colour, static_cast<size_t>(e1 - x));
    std::memset(pixels + e1, 0, static_cast<size_t>(xres - e1));
}

void fill_rows(const FrameBuffer& frame, Spans& spans, const std::vector<uint8_t>& limbflip, int32_t rows, int parity)
{
    const int32_t xres = frame.frame_xres;
    for (int32_t r = 0; r < frame.frame_yres; ++r) {
        if (r < rows) parity ^= limbflip[static_cast<size_t>(r)];
        const int32_t count = entries(spans, rows, r);
        if (count < 2) {
            std::memset(frame.row(r), 0, static_cast<size_t>(xres));
            continue;
        }
        fill_row(frame.row(r), xres, spans.row(r), count, parity);
    }
}

}  // namespace

void fillglobe(const Camera& view, bool far_side, const FrameBuffer& frame, Spans& spans, const Shore& shore,
               bool caps_lock, uint32_t& rand_seed)
{
    if (frame.empty()) return;
    const FillGeometry g = fill_geometry(view, far_side);
    const int32_t rows = std::max(std::min(frame.frame_yres, spans.rows), 0);
    std::vector<uint8_t> limbflip(static_cast<size_t>(rows), 0);
    shore_crossings(g, shore, frame, spans, limbflip);
    const int parity = g.far_side ? 1 : probe_parity(g, shore, frame, spans, limbflip, rows, rand_seed);
    fill_rows(frame, spans, limbflip, rows, parity);
    if (caps_lock) outline_caps(g, shore, frame, spans);
}
