// The desktop icon: the game's own hull, turned as if banking, flying out of a warm
// thrust glow across a round patch of starry space; transparent outside the disc.
// Every pixel of the 256-pixel icon averages 4 x 4 samples, so the disc's rim and the
// hull's edges are smooth although the hull texture is sampled at its nearest texel;
// the smaller sizes are painted from the same picture, not scaled down from it.
#include "images.h"

#include "colour.h"
#include "random.h"
#include "stable_math.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr uint32_t kSize = 256;
constexpr double kCentre = kSize / 2.0;
constexpr double kDiscRadius = 122.0;
constexpr int kSamplesPerSide = 4;

constexpr Rgb kSpaceCentre = {26, 34, 78};
constexpr Rgb kSpaceRim = {6, 8, 22};
constexpr Rgb kRimLight = {90, 120, 200};
constexpr Rgb kThrustGlow = {255, 150, 50};
constexpr Rgb kHullSurround = {14, 16, 22}; // what the hull texture holds away from the hull

constexpr double kShipTurns = 0.1;   // a tenth of a turn clockwise, nose to the upper right
constexpr double kShipScale = 0.78;  // icon pixels per hull texel
constexpr double kTailTexelY = 176.0; // the tail's middle in the hull texture
constexpr double kGlowRadius = 34.0;
constexpr uint32_t kStarSeed = 77;
constexpr int kStarCell = 9; // one star at most per cell of this many pixels

struct Sample {
    Rgb colour;
    double coverage; // 1 inside the disc, 0 outside
};

double distanceFromCentre(double x, double y)
{
    return std::sqrt((x - kCentre) * (x - kCentre) + (y - kCentre) * (y - kCentre));
}

// Icon point to hull texel: turn back by the ship's angle around the centre and scale.
void hullTexelAt(double x, double y, double& u, double& v)
{
    const double c = cosineTurns(kShipTurns);
    const double s = sineTurns(kShipTurns);
    const double dx = (x - kCentre) / kShipScale;
    const double dy = (y - kCentre) / kShipScale;
    u = kCentre + dx * c + dy * s;
    v = kCentre - dx * s + dy * c;
}

// A star at most per lattice cell, at a hashed place, with a hashed brightness.
double starLight(double x, double y)
{
    const int cx = int(x) / kStarCell;
    const int cy = int(y) / kStarCell;
    if (latticeHash(cx, cy, kStarSeed) > 0.35) return 0.0;
    const double sx = (cx + 0.2 + 0.6 * latticeHash(cx, cy, kStarSeed + 1)) * kStarCell;
    const double sy = (cy + 0.2 + 0.6 * latticeHash(cx, cy, kStarSeed + 2)) * kStarCell;
    const double d2 = (x - sx) * (x - sx) + (y - sy) * (y - sy);
    return (0.3 + 0.7 * latticeHash(cx, cy, kStarSeed + 3)) * clamp01(1.0 - d2 / 1.2);
}

Rgb spaceColour(double x, double y)
{
    const double r = distanceFromCentre(x, y) / kDiscRadius;
    Rgb colour = mix(kSpaceCentre, kSpaceRim, smoothstep(0.0, 1.0, r));
    colour = mix(colour, kRimLight, smoothstep(0.93, 1.0, r) * 0.5);
    const double star = starLight(x, y);
    colour = mix(colour, {255, 255, 255}, star);
    // The thrust glow sits just behind the tail: down the turned ship's axis.
    const double back = (kTailTexelY + 16.0 - kCentre) * kShipScale;
    const double glowX = kCentre - back * sineTurns(kShipTurns);
    const double glowY = kCentre + back * cosineTurns(kShipTurns);
    const double g = std::sqrt((x - glowX) * (x - glowX) + (y - glowY) * (y - glowY)) / kGlowRadius;
    return mix(colour, kThrustGlow, clamp01(1.0 - g) * clamp01(1.0 - g) * 0.9);
}

bool isHull(const uint8_t* texel)
{
    return texel[0] != uint8_t(kHullSurround.r) || texel[1] != uint8_t(kHullSurround.g) ||
           texel[2] != uint8_t(kHullSurround.b);
}

Sample sampleAt(const Raster& hull, double x, double y)
{
    const double coverage = distanceFromCentre(x, y) <= kDiscRadius ? 1.0 : 0.0;
    double u = 0.0, v = 0.0;
    hullTexelAt(x, y, u, v);
    if (u >= 0.0 && v >= 0.0 && u < kSize && v < kSize) {
        const uint8_t* texel = hull.pixel(uint32_t(u), uint32_t(v));
        if (isHull(texel)) return {{double(texel[0]), double(texel[1]), double(texel[2])}, 1.0};
    }
    return {spaceColour(x, y), coverage};
}

} // namespace

Raster paintIcon(uint32_t size)
{
    const Raster hull = paintShipHull(false);
    Raster raster(size, size, 4);
    // A smaller icon takes as many samples per pixel of the 256 one as that one does,
    // so its pixels average the same detail instead of aliasing the stars and edges.
    const double scale = double(kSize) / size;
    const int samplesPerSide = int(std::ceil(kSamplesPerSide * scale));
    const double samples = double(samplesPerSide) * samplesPerSide;
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            Rgb premultiplied;
            double coverage = 0.0;
            for (int j = 0; j < samplesPerSide; ++j) {
                for (int i = 0; i < samplesPerSide; ++i) {
                    const Sample s = sampleAt(hull, (x + (i + 0.5) / samplesPerSide) * scale,
                                              (y + (j + 0.5) / samplesPerSide) * scale);
                    premultiplied = premultiplied + s.colour * s.coverage;
                    coverage += s.coverage;
                }
            }
            uint8_t* p = raster.pixel(x, y);
            if (coverage > 0.0) {
                const Rgb colour = premultiplied * (1.0 / coverage);
                p[0] = toByte(colour.r);
                p[1] = toByte(colour.g);
                p[2] = toByte(colour.b);
            }
            p[3] = toByte(255.0 * coverage / samples);
        }
    }
    return raster;
}

} // namespace assetgen
