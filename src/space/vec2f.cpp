// Geometric functions on Vec2f. Every step is single precision on purpose: the
// collision tests and the model files depend on the exact float results.
#include "space/vec2f.h"
#include "base/bit_cast.h"

#include <cmath>

namespace {

// A zero or NaN length becomes 1 so that dividing by it keeps vectors finite.
float guardedLength(float squaredLength)
{
    const float r = std::sqrt(squaredLength);
    return (r == 0.0f || std::isnan(r)) ? 1.0f : r;
}

bool withinUnitInterval(float t) { return t >= 0.0f && t <= 1.0f; } // false for NaN

} // namespace

float DIST(const Vec2f& a, const Vec2f& b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return guardedLength(dx * dx + dy * dy);
}

float MAGNITUDE(const Vec2f& v) { return guardedLength(v.x * v.x + v.y * v.y); }

void NORMALIZE(Vec2f& v) { v = v / MAGNITUDE(v); }

Vec2f PERP(const Vec2f& a, const Vec2f& b)
{
    const Vec2f d = b - a;
    const float len = DIST(b, a);
    return {d.y / len, -d.x / len};
}

int32_t LINES_INTERSECT(Vec2f& out, const Vec2f& a1, const Vec2f& a2, const Vec2f& b1, const Vec2f& b2)
{
    const Vec2f d1 = a2 - a1;
    const Vec2f d2 = b2 - b1;
    const Vec2f d3 = b1 - a1;
    const float den = d1.x * d2.y - d1.y * d2.x;
    if (den == 0.0f) return 0;
    const float u = (d3.x * d2.y - d3.y * d2.x) / den;
    if (!withinUnitInterval(u)) return 0;
    const float v = (d3.x * d1.y - d3.y * d1.x) / den;
    if (!withinUnitInterval(v)) return 0;
    out = a1 + d1 * u;
    return -1;
}

float CDIST(const Vec2f& a, const Vec2f& b)
{
    const float x = a.x * b.x + a.y * b.y;
    const float half = 0.5f * x;
    // The shift is arithmetic on the signed bits, as the classic trick has it.
    const int32_t i = 0x5F3759DF - (bits::cast<int32_t>(x) >> 1);
    const float y = bits::cast<float>(i);
    return y * (1.5f - half * y * y);
}
