// Colour arithmetic for painting: linear RGB triples on the 0..255 scale, palettes
// sampled by piecewise-linear interpolation, and the conversion into a raster pixel.
#pragma once

#include "png/raster.h"

#include <span>

namespace assetgen {

struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb mix(Rgb a, Rgb b, double t);

struct PaletteStop {
    double at; // stops are listed with increasing positions
    Rgb colour;
};

// The colour at t, clamped to the first and last stop outside their range.
Rgb samplePalette(std::span<const PaletteStop> stops, double t);

// Writes the rounded colour into the first three channels; an RGBA pixel becomes opaque.
void putRgb(Raster& raster, uint32_t x, uint32_t y, Rgb colour);

} // namespace assetgen
