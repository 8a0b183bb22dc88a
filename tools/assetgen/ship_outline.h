// The ship's designed outline, shared by the model file and the hull textures so the
// painted hull always matches the geometry. Model units, x right, y down, nose up;
// one model unit is one texture grid unit of 8 texels, and the model origin sits on
// grid point (16, 16), the texture's centre texel (128, 128).
#pragma once

#include <array>
#include <cstddef>

namespace assetgen {

struct Point {
    double x;
    double y;
};

// Vertices in outline order v0..v3; line i of the model runs from v(i-1) to v(i), so
// line 0 starts at the nose v3 and line 2 (the thrust flames' centre) at the tail middle.
constexpr std::array<Point, 4> kShipVertices = {{
    {-9.0, 11.0}, // left tail corner
    {0.0, 6.0},   // tail middle
    {9.0, 11.0},  // right tail corner
    {0.0, -14.0}, // nose
}};

// Where line i starts: the vertex before its end, kShipVertices[i].
constexpr Point shipLineStart(size_t i) { return kShipVertices[(i + kShipVertices.size() - 1) % kShipVertices.size()]; }

constexpr double kGridUnitTexels = 8.0;
constexpr double kTextureCentreGrid = 16.0;

constexpr Point texturePointOf(Point p) { return {p.x + kTextureCentreGrid, p.y + kTextureCentreGrid}; }
constexpr Point texelOf(Point p)
{
    return {texturePointOf(p).x * kGridUnitTexels, texturePointOf(p).y * kGridUnitTexels};
}

} // namespace assetgen
