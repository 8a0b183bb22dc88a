// The ship's hull texture, painted around the outline of ship_outline.h in texel space:
// bevelled metal panels lit from the upper left, a ridge along the spine, a glass
// cockpit near the nose, warm stripes on the wings and a dark engine plate at the tail.
// The metal reaches a few texels beyond the outline so edge samples never hit the dark
// surround. The editor's copy adds a faint guide line every grid unit.
#include "images.h"

#include "colour.h"
#include "random.h"
#include "ship_outline.h"
#include "stable_math.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr uint32_t kSize = 256;
constexpr double kCentre = 128.0;
constexpr double kMargin = 4.0;      // metal painted beyond the outline, texels
constexpr double kBevelWidth = 10.0; // depth over which the rim darkens
constexpr double kInnerSeamDepth = 18.0;
constexpr double kPanelSeamRows[] = {122.0, 146.0};

constexpr Rgb kSurround = {14, 16, 22};
constexpr Rgb kMetal = {152, 158, 168};
constexpr Rgb kStripe = {196, 70, 44};
constexpr Rgb kEnginePlate = {84, 86, 94};
constexpr Rgb kEngineHeat = {210, 110, 40};
constexpr Rgb kCockpitFrame = {40, 44, 54};
constexpr Rgb kGlassTop = {110, 210, 235};
constexpr Rgb kGlassBottom = {16, 36, 86};
constexpr Rgb kGuide = {110, 160, 210};

constexpr Point kCockpitCentre = {kCentre, 86.0};
constexpr Point kCockpitRadii = {11.0, 24.0};

double distanceToSegment(Point p, Point a, Point b)
{
    const double ex = b.x - a.x;
    const double ey = b.y - a.y;
    const double t = clamp01(((p.x - a.x) * ex + (p.y - a.y) * ey) / (ex * ex + ey * ey));
    const double dx = p.x - (a.x + ex * t);
    const double dy = p.y - (a.y + ey * t);
    return std::sqrt(dx * dx + dy * dy);
}

// Distance to the outline in texels, negative inside (even-odd crossing test).
double signedOutlineDistance(Point p)
{
    double nearest = 1e9;
    bool inside = false;
    for (size_t i = 0; i < kShipVertices.size(); ++i) {
        const Point a = texelOf(kShipVertices[i]);
        const Point b = texelOf(kShipVertices[(i + 1) % kShipVertices.size()]);
        nearest = std::fmin(nearest, distanceToSegment(p, a, b));
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
    }
    return inside ? -nearest : nearest;
}

// A seam is a dark texel line with a lit line just below it, which reads as a groove.
double seamShade(double offset)
{
    if (std::fabs(offset) < 1.0) return 0.55;
    if (offset >= 1.0 && offset < 2.2) return 1.15;
    return 1.0;
}

double panelShade(Point p, double depth)
{
    double shade = seamShade(depth - kInnerSeamDepth);
    if (depth > kInnerSeamDepth + 2.0)
        for (double row : kPanelSeamRows) shade *= seamShade(p.y - row);
    return shade;
}

// Bevel at the rim, light from the upper left on the left facet, shadow on the right,
// and a bright ridge along the spine.
double hullLighting(Point p, double depth)
{
    const double bevel = 0.55 + 0.45 * smoothstep(0.0, kBevelWidth, depth);
    const double side = lerp(1.08, 0.84, smoothstep(-1.5, 1.5, p.x - kCentre));
    const double ridge = 1.0 + 0.18 * clamp01(1.0 - std::fabs(p.x - kCentre) / 2.0);
    const double grain = 0.96 + 0.06 * latticeHash(0, int(p.y), 31) + 0.03 * latticeHash(int(p.x), int(p.y), 32);
    return bevel * side * ridge * grain;
}

Rgb cockpitColour(Point p, double ellipse)
{
    const double t = clamp01((p.y - (kCockpitCentre.y - kCockpitRadii.y)) / (2.0 * kCockpitRadii.y));
    Rgb glass = mix(kGlassTop, kGlassBottom, smoothstep(0.0, 0.9, t));
    const double hx = (p.x - (kCockpitCentre.x - 4.0)) / 2.5;
    const double hy = (p.y - (kCockpitCentre.y - 10.0)) / 7.0;
    const double highlight = clamp01(1.0 - (hx * hx + hy * hy));
    glass = mix(glass, {235, 250, 255}, highlight * 0.8);
    return mix(glass, kCockpitFrame, smoothstep(0.72, 0.86, ellipse));
}

Rgb hullColour(Point p, double depth)
{
    Rgb surface = kMetal;
    const double stripeBand = clamp01(1.0 - std::fabs(depth - 9.0) / 3.0) * smoothstep(150.0, 165.0, p.y);
    surface = mix(surface, kStripe, stripeBand);
    const double plate = smoothstep(156.0, 160.0, p.y) * clamp01(1.0 - (std::fabs(p.x - kCentre) - 14.0) / 2.0);
    surface = mix(surface, kEnginePlate, plate);
    surface = mix(surface, kEngineHeat, plate * clamp01(1.0 - depth / 6.0) * 0.8);
    Rgb lit = surface * (hullLighting(p, depth) * panelShade(p, depth));
    const double ex = (p.x - kCockpitCentre.x) / kCockpitRadii.x;
    const double ey = (p.y - kCockpitCentre.y) / kCockpitRadii.y;
    const double ellipse = std::sqrt(ex * ex + ey * ey);
    if (ellipse < 1.0) lit = mix(cockpitColour(p, ellipse), lit, smoothstep(0.9, 1.0, ellipse));
    return lit;
}

Rgb texelColour(uint32_t x, uint32_t y)
{
    const Point p = {x + 0.5, y + 0.5};
    const double distance = signedOutlineDistance(p);
    if (distance >= kMargin + 1.0) return kSurround;
    // The metal beyond the outline keeps the rim's darkest bevel.
    const Rgb metal = hullColour(p, std::fmax(0.0, -distance));
    return mix(metal, kSurround, clamp01(distance - kMargin));
}

Rgb withGuide(Rgb colour, uint32_t x, uint32_t y)
{
    constexpr uint32_t kGridTexels = uint32_t(kGridUnitTexels);
    const bool centreLine = x == uint32_t(kCentre) || y == uint32_t(kCentre);
    if (centreLine) return mix(colour, kGuide, 0.45);
    if (x % kGridTexels == 0 || y % kGridTexels == 0) return mix(colour, kGuide, 0.16);
    return colour;
}

} // namespace

Raster paintShipHull(bool withEditorGrid)
{
    Raster raster(kSize, kSize, 3);
    for (uint32_t y = 0; y < kSize; ++y) {
        for (uint32_t x = 0; x < kSize; ++x) {
            const Rgb colour = texelColour(x, y);
            putRgb(raster, x, y, withEditorGrid ? withGuide(colour, x, y) : colour);
        }
    }
    return raster;
}

} // namespace assetgen
