#include "raster/colour_match.h"

#include <cmath>
#include <limits>

namespace {

double linear(uint8_t value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double lab_f(double t)
{
    constexpr double e = 216.0 / 24389;
    constexpr double k = 24389.0 / 27;
    return t > e ? std::cbrt(t) : (k * t + 16) / 116;
}

double distance2(const LabColour& p, const LabColour& q)
{
    return (p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b);
}

}  // namespace

LabColour lab_colour(const PaletteEntry& colour)
{
    const double r = linear(colour.red), g = linear(colour.green), b = linear(colour.blue);
    // sRGB to XYZ, each row divided by the D65 white's coordinate.
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = lab_f(x), fy = lab_f(y), fz = lab_f(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

int nearest_entry(const Palette& palette, const PaletteEntry& colour, const PaletteEntries& allowed)
{
    const LabColour want = lab_colour(colour);
    int best = -1;
    double best_d2 = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < palette.size(); ++i) {
        if (!allowed[i]) continue;
        const double d2 = distance2(want, lab_colour(palette[i]));
        if (d2 < best_d2) {
            best_d2 = d2;
            best = static_cast<int>(i);
        }
    }
    return best;
}
