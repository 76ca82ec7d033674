#include "sky/sky_colours.h"

#include "raster/colour_match.h"

SkyColours same_sky_colours()
{
    SkyColours colours{};
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<uint8_t>(i);
    return colours;
}

SkyColours sky_colours(const Palette& meant, const Palette& shown)
{
    EntryMask any;
    any.set();
    const std::array<Lab, 256> lab = lab_palette(shown);
    SkyColours colours = same_sky_colours();
    for (size_t i = 0; i < colours.size(); ++i) {
        const PaletteEntry& m = meant[i];
        const PaletteEntry& s = shown[i];
        if (m.red != s.red || m.green != s.green || m.blue != s.blue)
            colours[i] = nearest_entry(lab, to_lab({static_cast<double>(m.red), static_cast<double>(m.green),
                                                    static_cast<double>(m.blue)}),
                                       any);
    }
    return colours;
}
