// The background: a dark, domain-warped fBm nebula with a few palette hues, sprinkled
// with many faint stars, some medium ones and a few bright ones with glows. Every
// noise field repeats over the picture and star light wraps around the edges, so the
// world's wrap-around shows no seam.
#include "images.h"

#include "colour.h"
#include "noise.h"
#include "random.h"
#include "stable_math.h"

#include <cmath>
#include <vector>

namespace assetgen {

namespace {

constexpr uint32_t kWidth = 2048;
constexpr uint32_t kHeight = 1536;
constexpr double kCellPixels = 512.0; // the nebula's largest features; 4 x 3 cells per picture
constexpr int kCellsX = int(kWidth / kCellPixels);
constexpr int kCellsY = int(kHeight / kCellPixels);
constexpr double kWarpCells = 0.9;
constexpr double kGrainCellPixels = kCellPixels / 4.0; // the fine texture inside the clouds
constexpr int kGrainCellsX = int(kWidth / kGrainCellPixels);
constexpr int kGrainCellsY = int(kHeight / kGrainCellPixels);

constexpr PaletteStop kNebulaHues[] = {
    {0.30, {18, 36, 110}},  // deep blue
    {0.42, {70, 28, 120}},  // violet
    {0.52, {130, 34, 100}}, // magenta
    {0.62, {24, 96, 120}},  // teal
    {0.72, {40, 60, 140}},  // blue again, so the hue field never ends on a hard colour
};
constexpr uint64_t kStarSeed = 0x5EED0005ACEULL;
constexpr int kFaintStars = 9000;
constexpr int kMediumStars = 500;
constexpr int kBrightStars = 40;
constexpr Rgb kDeepSpace = {3, 4, 10};
constexpr Rgb kCoreTint = {120, 100, 130};

// Light accumulated in doubles before quantising, so overlapping star glows add up.
class LightBuffer {
public:
    LightBuffer() : light(size_t(kWidth) * kHeight) {}
    Rgb& at(int x, int y)
    {
        // Wrapping keeps glows near an edge continuing on the opposite side.
        const int wx = ((x % int(kWidth)) + int(kWidth)) % int(kWidth);
        const int wy = ((y % int(kHeight)) + int(kHeight)) % int(kHeight);
        return light[size_t(wy) * kWidth + size_t(wx)];
    }
    void add(int x, int y, Rgb colour) { at(x, y) = at(x, y) + colour; }

private:
    std::vector<Rgb> light;
};

struct NebulaFields {
    PeriodicFbm warpX{{kCellsX, kCellsY, 4, 0.5, 11}};
    PeriodicFbm warpY{{kCellsX, kCellsY, 4, 0.5, 12}};
    PeriodicFbm density{{kCellsX, kCellsY, 6, 0.55, 13}};
    PeriodicFbm hue{{kCellsX, kCellsY, 3, 0.5, 14}};
    PeriodicFbm grain{{kGrainCellsX, kGrainCellsY, 4, 0.5, 15}}; // sampled in its own, smaller cells
};

// The nebula's colour at a pixel centre (x, y).
Rgb nebulaAt(const NebulaFields& fields, double x, double y)
{
    const double px = x / kCellPixels;
    const double py = y / kCellPixels;
    const double wx = px + kWarpCells * (fields.warpX.sample(px, py) - 0.5);
    const double wy = py + kWarpCells * (fields.warpY.sample(px, py) - 0.5);
    const double d = fields.density.sample(wx, wy);
    const double cloud = smoothstep(0.37, 0.75, d);
    const double grain = 0.7 + 0.6 * fields.grain.sample(x / kGrainCellPixels, y / kGrainCellPixels);
    const double haze = smoothstep(0.2, 0.6, d); // keeps the voids from going flat black
    const double core = smoothstep(0.62, 0.85, d);
    const Rgb hue = samplePalette(kNebulaHues, fields.hue.sample(wx, wy));
    return kDeepSpace + hue * (cloud * cloud * grain * 0.68 + haze * 0.16) + kCoreTint * (core * core * 0.35);
}

void paintNebula(LightBuffer& buffer)
{
    const NebulaFields fields;
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x) buffer.at(int(x), int(y)) = nebulaAt(fields, x + 0.5, y + 0.5);
}

Rgb starTint(Rng& rng)
{
    constexpr PaletteStop kTints[] = {
        {0.0, {0.75, 0.85, 1.0}}, // blue-white
        {0.6, {1.0, 1.0, 1.0}},
        {1.0, {1.0, 0.85, 0.65}}, // yellow-orange
    };
    return samplePalette(kTints, rng.unit());
}

void addFaintStars(LightBuffer& buffer, Rng& rng, int count)
{
    for (int i = 0; i < count; ++i) {
        const int x = int(rng.below(kWidth));
        const int y = int(rng.below(kHeight));
        const double u = rng.unit();
        buffer.add(x, y, starTint(rng) * (20.0 + 100.0 * u * u));
    }
}

void addMediumStars(LightBuffer& buffer, Rng& rng, int count)
{
    for (int i = 0; i < count; ++i) {
        const int x = int(rng.below(kWidth));
        const int y = int(rng.below(kHeight));
        // Separate statements: the order in which operands of one expression are
        // evaluated is unspecified, and both draws advance the same stream.
        const Rgb tint = starTint(rng);
        const Rgb light = tint * rng.range(120.0, 230.0);
        buffer.add(x, y, light);
        for (int k = 0; k < 4; ++k) {
            const int dx = (k == 0) - (k == 1);
            const int dy = (k == 2) - (k == 3);
            buffer.add(x + dx, y + dy, light * 0.3);
        }
        for (int k = 0; k < 4; ++k) buffer.add(x + (k & 1 ? 1 : -1), y + (k & 2 ? 1 : -1), light * 0.1);
    }
}

// A bright star: a hot core, a halo falling off like 1 / (1 + r^2) that is windowed to
// reach zero at the glow radius, and faint cross spikes.
void addBrightStar(LightBuffer& buffer, Rng& rng)
{
    const double cx = rng.range(0.0, kWidth);
    const double cy = rng.range(0.0, kHeight);
    const double radius = rng.range(5.0, 11.0);
    const Rgb tint = starTint(rng);
    const double peak = rng.range(400.0, 900.0);
    const int reach = int(radius * 2.0) + 1;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const int x = int(std::floor(cx)) + dx;
            const int y = int(std::floor(cy)) + dy;
            const double ox = x + 0.5 - cx;
            const double oy = y + 0.5 - cy;
            const double r = std::sqrt(ox * ox + oy * oy); // sqrt is exactly rounded, so stable
            const double window = clamp01(1.0 - r / radius);
            double intensity = window * window / (1.0 + ox * ox + oy * oy);
            const double spikeWindow = clamp01(1.0 - r / (2.0 * radius));
            const double offAxis = std::fmin(std::fabs(ox), std::fabs(oy));
            intensity += 0.35 * spikeWindow * spikeWindow * clamp01(1.0 - offAxis);
            if (intensity > 0.0) buffer.add(x, y, tint * (peak * intensity));
        }
    }
}

Raster quantise(LightBuffer& buffer)
{
    Raster raster(kWidth, kHeight, 3);
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x) putRgb(raster, x, y, buffer.at(int(x), int(y)));
    return raster;
}

} // namespace

Raster paintSpace()
{
    LightBuffer buffer;
    paintNebula(buffer);
    Rng rng(kStarSeed);
    addFaintStars(buffer, rng, kFaintStars);
    addMediumStars(buffer, rng, kMediumStars);
    for (int i = 0; i < kBrightStars; ++i) addBrightStar(buffer, rng);
    return quantise(buffer);
}

} // namespace assetgen
