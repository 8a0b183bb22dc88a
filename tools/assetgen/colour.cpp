// Palette interpolation and pixel conversion shared by every painted image; colours
// stay doubles until putRgb rounds them once, so layers never lose precision early.
#include "colour.h"

#include "stable_math.h"

namespace assetgen {

Rgb mix(Rgb a, Rgb b, double t) { return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)}; }

Rgb samplePalette(std::span<const PaletteStop> stops, double t)
{
    if (t <= stops.front().at) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const PaletteStop& low = stops[i - 1];
            const PaletteStop& high = stops[i];
            return mix(low.colour, high.colour, (t - low.at) / (high.at - low.at));
        }
    }
    return stops.back().colour;
}

void putRgb(Raster& raster, uint32_t x, uint32_t y, Rgb colour)
{
    uint8_t* p = raster.pixel(x, y);
    p[0] = toByte(colour.r);
    p[1] = toByte(colour.g);
    p[2] = toByte(colour.b);
    if (raster.channels == 4) p[3] = 255;
}

} // namespace assetgen
