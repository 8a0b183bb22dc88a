// Drawing a model as a textured fan. Every triangle shares the origin corner, so
// neighbouring lines meet without gaps or double-drawn edges (the filler's depth test
// keeps the first triangle on a shared pixel).
#include "model/model.h"
#include "render/triangles.h"

#include <algorithm>
#include <cfloat>
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

// The bounds of the fan's corners, as the drawing hands them to the filler.
struct Bounds {
    explicit Bounds(Vec2f p) : left(p.x), top(p.y), right(p.x), bottom(p.y) { add(p); }

    void add(Vec2f p)
    {
        // One comparison each: false for infinities and for what is not a number.
        finite = finite && std::fabs(p.x) <= FLT_MAX && std::fabs(p.y) <= FLT_MAX;
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }

    float left, top, right, bottom;
    bool finite = true;
};

} // namespace

bool fanMissesTarget(const Model& model, Vec2f origin, int width, int height)
{
    Bounds box(origin);
    const size_t count = std::min(model.lines.size(), model.transformed.size());
    for (size_t i = 0; i < count; ++i) {
        box.add(origin + model.transformed[i].start);
        box.add(origin + model.transformed[i].end);
    }
    if (!box.finite) return false;
    // The filler floors the corners' own rows, so above and below are exact.
    if (box.bottom < 0.0f || box.top >= static_cast<float>(height)) return true;
    // Columns come from edges walked down the rows in float; each step may round an
    // edge by 2^-24 of its size, so an edge can overshoot its corners by about
    // rows * size * 2^-24. The margin allows sixteen times that, and a pixel.
    const double size = std::max(std::fabs(double{box.left}), std::fabs(double{box.right})) + 1.0;
    const double rows = double{box.bottom} - double{box.top} + 16.0;
    const double margin = 1.0 + rows * size * 0x1p-20;
    return box.right < -margin || box.left > width + margin;
}

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
