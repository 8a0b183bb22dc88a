// The two small effect pictures. The shot glow is a horizontal profile repeated down
// every row: shots lay u across their path, so column 8 is the beam's centre line.
// The flame puff is a ragged disc on pixels of all-zero bytes, the value the sprite
// blender skips as transparent; every painted pixel is opaque and therefore non-zero.
#include "images.h"

#include "colour.h"
#include "noise.h"
#include "stable_math.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr uint32_t kGlowSize = 16;
constexpr double kGlowCentreColumn = 8.0;
constexpr double kGlowHalfWidth = 7.0; // columns 1, 0 and 15 are beyond it: black

constexpr PaletteStop kGlowRamp[] = {
    {0.00, {0, 0, 0}},
    {0.20, {4, 12, 60}},
    {0.45, {20, 70, 190}},
    {0.70, {70, 200, 255}},
    {0.88, {190, 250, 255}},
    {1.00, {245, 255, 255}},
};

constexpr uint32_t kPuffSize = 32;
constexpr double kPuffCentre = kPuffSize / 2.0;
constexpr double kPuffRadius = 13.0;
constexpr double kPuffRaggedness = 0.3;

constexpr PaletteStop kFlameRamp[] = {
    {0.00, {255, 250, 215}},
    {0.30, {255, 220, 110}},
    {0.60, {250, 150, 40}},
    {0.85, {220, 80, 20}},
    {1.00, {150, 40, 12}},
};

} // namespace

Raster paintShotGlow()
{
    Raster raster(kGlowSize, kGlowSize, 3);
    for (uint32_t x = 0; x < kGlowSize; ++x) {
        const double heat = clamp01(1.0 - std::fabs(x - kGlowCentreColumn) / kGlowHalfWidth);
        const Rgb colour = samplePalette(kGlowRamp, heat);
        for (uint32_t y = 0; y < kGlowSize; ++y) putRgb(raster, x, y, colour);
    }
    return raster;
}

Raster paintFlamePuff()
{
    const PeriodicFbm ragged({4, 4, 2, 0.5, 41});
    Raster raster(kPuffSize, kPuffSize, 4);
    for (uint32_t y = 0; y < kPuffSize; ++y) {
        for (uint32_t x = 0; x < kPuffSize; ++x) {
            const double dx = x + 0.5 - kPuffCentre;
            const double dy = y + 0.5 - kPuffCentre;
            const double wobble = kPuffRaggedness * (ragged.sample((x + 0.5) / 8.0, (y + 0.5) / 8.0) - 0.5);
            const double reach = std::sqrt(dx * dx + dy * dy) / kPuffRadius + wobble;
            if (reach < 1.0) putRgb(raster, x, y, samplePalette(kFlameRamp, std::fmax(0.0, reach)));
        }
    }
    return raster;
}

} // namespace assetgen
