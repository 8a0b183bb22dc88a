// The generator's outline (copied into the build from tools/assetgen at configure
// time) turned into model lines the way the generator turns it into the model file:
// line i runs from vertex i-1 to vertex i, textured at the vertices' grid points.
#include "game/builtin_ship.h"

#include "game/designed_ship_outline.h"

namespace {

Vec2f modelPoint(assetgen::Point p) { return {float(p.x), float(p.y)}; }

} // namespace

std::vector<ModelLine> builtinShipLines()
{
    const auto& vertices = assetgen::kShipVertices;
    std::vector<ModelLine> lines(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) {
        const assetgen::Point start = assetgen::shipLineStart(i);
        const assetgen::Point end = vertices[i];
        lines[i].start = modelPoint(start);
        lines[i].end = modelPoint(end);
        lines[i].texStart = modelPoint(assetgen::texturePointOf(start));
        lines[i].texEnd = modelPoint(assetgen::texturePointOf(end));
    }
    return lines;
}
