#include "raster/colour_match.h"

#include <cmath>
#include <cstddef>

namespace {

double linear(double channel)
{
    const double c = channel / 255;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double lab_f(double t)
{
    constexpr double delta = 6.0 / 29;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29;
}

double squared_difference(const Lab& p, const Lab& q)
{
    const double dl = p.l - q.l, da = p.a - q.a, db = p.b - q.b;
    return dl * dl + da * da + db * db;
}

}  // namespace

Lab to_lab(Rgb colour)
{
    const double r = linear(colour.red), g = linear(colour.green), b = linear(colour.blue);
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = lab_f(x), fy = lab_f(y), fz = lab_f(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

std::array<Lab, 256> lab_palette(const Palette& palette)
{
    std::array<Lab, 256> lab;
    for (size_t i = 0; i < palette.size(); ++i) lab[i] = to_lab({double(palette[i].red), double(palette[i].green), double(palette[i].blue)});
    return lab;
}

uint8_t nearest_entry(const std::array<Lab, 256>& palette, Lab colour, const EntryMask& allowed)
{
    size_t best = 0;
    double best_difference = INFINITY;
    for (size_t i = 0; i < palette.size(); ++i) {
        if (!allowed[i]) continue;
        const double d = squared_difference(palette[i], colour);
        if (d < best_difference) {
            best = i;
            best_difference = d;
        }
    }
    return static_cast<uint8_t>(best);
}

uint8_t nearest_entry(const Palette& palette, Rgb colour, const EntryMask& allowed)
{
    return nearest_entry(lab_palette(palette), to_lab(colour), allowed);
}
