// The asteroid surface: an fBm height field with a few craters, lit from the upper
// left through its slopes and coloured between grey and brown. Heights, craters and
// slopes all wrap around the tile, so the texture repeats without seams (asteroids
// address it in world units, far beyond one tile).
#include "images.h"

#include "colour.h"
#include "noise.h"
#include "random.h"
#include "stable_math.h"

#include <cmath>
#include <vector>

namespace assetgen {

namespace {

constexpr int kSize = 128;
constexpr int kCraters = 9;
constexpr uint64_t kCraterSeed = 0xC0A7E125ULL;
constexpr double kSlopeScale = 6.0; // turns height differences (0..1 per pixel) into normals

constexpr Rgb kGrey = {114, 112, 110};
constexpr Rgb kBrown = {122, 102, 84};

using HeightField = std::vector<double>;

// Wraps coordinates one tile out of range, as the slope look-ups at the border need.
double& heightAt(HeightField& field, int x, int y)
{
    return field[size_t((y + kSize) % kSize) * kSize + size_t((x + kSize) % kSize)];
}

// Shortest offset between two coordinates on the wrapping tile.
double torusOffset(double a, double b)
{
    double d = a - b;
    if (d > kSize / 2.0) d -= kSize;
    if (d < -kSize / 2.0) d += kSize;
    return d;
}

// A bowl lowered below the surface with a raised rim just outside it.
void addCrater(HeightField& field, double cx, double cy, double radius, double depth)
{
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double dx = torusOffset(x + 0.5, cx);
            const double dy = torusOffset(y + 0.5, cy);
            const double r = std::sqrt(dx * dx + dy * dy) / radius;
            const double bowl = r < 1.0 ? 1.0 - r * r : 0.0;
            const double rimDistance = (r - 1.0) / 0.35;
            const double rim = clamp01(1.0 - rimDistance * rimDistance);
            heightAt(field, x, y) += depth * (rim * rim * 0.45 - bowl);
        }
    }
}

HeightField makeHeights()
{
    const PeriodicFbm surface({4, 4, 5, 0.55, 21});
    HeightField field(size_t(kSize) * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            heightAt(field, x, y) = surface.sample((x + 0.5) / 32.0, (y + 0.5) / 32.0);
    Rng rng(kCraterSeed);
    for (int i = 0; i < kCraters; ++i) {
        const double cx = rng.range(0.0, kSize);
        const double cy = rng.range(0.0, kSize);
        const double radius = rng.range(5.0, 17.0);
        const double depth = rng.range(0.12, 0.22);
        addCrater(field, cx, cy, radius, depth);
    }
    return field;
}

// Lambert light from the upper left through the normal of the height field's slope.
double diffuseAt(HeightField& field, int x, int y)
{
    const double nx = (heightAt(field, x - 1, y) - heightAt(field, x + 1, y)) * kSlopeScale;
    const double ny = (heightAt(field, x, y - 1) - heightAt(field, x, y + 1)) * kSlopeScale;
    const double length = std::sqrt(nx * nx + ny * ny + 1.0);
    constexpr double kLight[3] = {-0.55, -0.6, 0.58};
    return std::fmax(0.0, (nx * kLight[0] + ny * kLight[1] + kLight[2]) / length);
}

} // namespace

Raster paintRock()
{
    HeightField heights = makeHeights();
    const PeriodicFbm tint({2, 2, 4, 0.5, 22});
    Raster raster(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double h = heightAt(heights, x, y);
            const Rgb base = mix(kGrey, kBrown, smoothstep(0.3, 0.7, tint.sample((x + 0.5) / 64.0, (y + 0.5) / 64.0)));
            const double grit = 0.92 + 0.16 * latticeHash(x, y, 23);
            const double light = (0.3 + 0.85 * diffuseAt(heights, x, y)) * (0.75 + 0.5 * clamp01(h)) * grit;
            putRgb(raster, uint32_t(x), uint32_t(y), base * light);
        }
    }
    return raster;
}

} // namespace assetgen
