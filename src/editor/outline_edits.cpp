// Adding and removing vertices. The new point is the exact middle, not snapped to
// a cell: the line keeps its shape until the user moves the point, and a zero-length
// line simply gets a second point on the same spot.
#include "editor/outline_edits.h"

#include <array>

namespace {

// Nose up, as the game flies it, inside the texture's middle.
constexpr std::array<Vec2f, 3> kFirstVertices{{{0, -8}, {6, 6}, {-6, 6}}};
constexpr Vec2f kTextureCentre{16, 16};

ModelLine lineEndingAt(Vec2f end, Vec2f texEnd)
{
    ModelLine line;
    line.end = end;
    line.texEnd = texEnd;
    return line;
}

} // namespace

void sealAfterResize(Model& model)
{
    model.transformed.assign(model.lines.size(), ModelLine{});
    SEAL(model);
}

int insertVertex(Model& model, int index)
{
    auto& lines = model.lines;
    if (lines.empty()) {
        for (const Vec2f vertex : kFirstVertices) lines.push_back(lineEndingAt(vertex, vertex + kTextureCentre));
        sealAfterResize(model);
        return 0;
    }
    const size_t count = lines.size();
    const ModelLine& previous = lines[(static_cast<size_t>(index) + count - 1) % count];
    const ModelLine& split = lines[index];
    const ModelLine middle =
        lineEndingAt((previous.end + split.end) * 0.5f, (previous.texEnd + split.texEnd) * 0.5f);
    lines.insert(lines.begin() + index, middle);
    sealAfterResize(model);
    return index;
}

bool deleteVertex(Model& model, int index)
{
    if (model.lines.size() <= kFewestLines) return false;
    model.lines.erase(model.lines.begin() + index);
    sealAfterResize(model);
    return true;
}
