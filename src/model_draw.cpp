// Drawing a model as a textured fan. Every triangle shares the origin corner, so
// neighbouring lines meet without gaps or double-drawn edges (the filler's depth test
// keeps the first triangle on a shared pixel).
#include "model.h"
#include "triangles.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTexelsPerGridUnit = 8.0f;
const Vec2f kTextureCentre{16.0f * kTexelsPerGridUnit, 16.0f * kTexelsPerGridUnit};
constexpr float kDepth = 1.0f;

Vec2f texturePoint(Vec2f gridPoint, bool wholeTexels)
{
    const Vec2f texels = gridPoint * kTexelsPerGridUnit;
    if (!wholeTexels) return texels;
    return {std::nearbyint(texels.x), std::nearbyint(texels.y)};
}

} // namespace

void DRAW_MODEL(const Model& model, Vec2f origin, int brightness, const Image* texture, bool wholeTexels)
{
    const size_t count = std::min(model.lines.size(), model.transformed.size());
    for (size_t i = 0; i < count; ++i) {
        const Vec2f a = origin + model.transformed[i].start;
        const Vec2f b = origin + model.transformed[i].end;
        const Vec2f ta = texturePoint(model.lines[i].texStart, wholeTexels);
        const Vec2f tb = texturePoint(model.lines[i].texEnd, wholeTexels);
        TFPCSPTRI_ORIG(nullptr, a.x, a.y, kDepth, ta.x, ta.y, b.x, b.y, kDepth, tb.x, tb.y, origin.x, origin.y, kDepth,
                       kTextureCentre.x, kTextureCentre.y, brightness, texture);
    }
}
