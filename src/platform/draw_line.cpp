// DRAW_LINE: lines and box outlines with a 16-bit on/off pattern. Clipping is
// analytic (only the steps that land on the target are visited), so a line with
// far-away ends costs no more than one that crosses the screen.
#include "platform/platform.h"
#include "render/rounding.h"
#include "render/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Segment {
    double x1, y1, x2, y2;
};

// Moves coordinate `moved` of end a onto the nearer bound of +-kPixelLimit when it
// lies beyond it, sliding a along the line towards b. The bound is set exactly and
// only the other coordinate is interpolated, so a level or upright line stays exactly
// level or upright. False when b lies beyond the same bound: the line misses the box.
bool pullAxisIntoLimit(double& moved, double& other, double movedTarget, double otherTarget)
{
    for (const double bound : {-kPixelLimit, kPixelLimit}) {
        const auto beyond = [bound](double v) { return bound < 0 ? v < bound : v > bound; };
        if (!beyond(moved)) continue;
        if (beyond(movedTarget)) return false;
        other += (otherTarget - other) * ((bound - moved) / (movedTarget - moved));
        moved = bound;
    }
    return true;
}

// Brings end a onto the box of +-kPixelLimit along the line towards b; false when the
// line cannot reach the box (and so cannot reach any target).
bool pullEndIntoLimit(double& ax, double& ay, double bx, double by)
{
    return pullAxisIntoLimit(ax, ay, bx, by) && pullAxisIntoLimit(ay, ax, by, bx) && std::fabs(ax) <= kPixelLimit;
}

bool clipToPixelLimit(Segment& s)
{
    return pullEndIntoLimit(s.x1, s.y1, s.x2, s.y2) && pullEndIntoLimit(s.x2, s.y2, s.x1, s.y1);
}

bool patternBitSet(uint16_t style, int64_t step) { return (style >> (15 - step % 16)) & 1; }

// Draws from pixel (x1, y1) to (x2, y2), both included, starting the pattern at bit
// `phase`. Step k moves one pixel along the major axis; the minor coordinate is
// k * minor / major rounded half up, which is what an error-term walk produces.
void drawSegment(const Surface& surface, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour,
                 uint16_t style, int64_t phase)
{
    const int64_t dx = x2 - x1;
    const int64_t dy = y2 - y1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t minorSteps = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int64_t majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorDir = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorStart = xMajor ? x1 : y1;
    const int64_t minorStart = xMajor ? y1 : x1;
    const int64_t majorSize = xMajor ? surface.width : surface.height;

    // The steps whose major coordinate lies on the surface.
    int64_t first = majorDir > 0 ? -majorStart : majorStart - (majorSize - 1);
    int64_t last = majorDir > 0 ? majorSize - 1 - majorStart : majorStart;
    first = std::max<int64_t>(first, 0);
    last = std::min(last, steps);

    for (int64_t k = first; k <= last; ++k) {
        if (!patternBitSet(style, phase + k)) continue;
        const int64_t minorOffset = steps == 0 ? 0 : (2 * k * minorSteps + steps) / (2 * steps);
        const int64_t major = majorStart + majorDir * k;
        const int64_t minor = minorStart + minorDir * minorOffset;
        const int64_t x = xMajor ? major : minor;
        const int64_t y = xMajor ? minor : major;
        if (surface.contains(x, y)) surface.row(int(y))[x] = colour;
    }
}

void drawBox(const Surface& surface, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour,
             uint16_t style)
{
    // The pattern runs on around the corners, each corner shared by two edges.
    const int64_t corners[5][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
    int64_t phase = 0;
    for (int i = 0; i < 4; ++i) {
        const auto& from = corners[i];
        const auto& to = corners[i + 1];
        drawSegment(surface, from[0], from[1], to[0], to[1], colour, style, phase);
        phase += std::llabs(to[0] - from[0]) + std::llabs(to[1] - from[1]);
    }
}

} // namespace

void DRAW_LINE(Image* target, float x1, float y1, float x2, float y2, uint32_t colour, int kind, uint16_t style)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    const Surface surface = surfaceOf(target);
    if (!surface.base) return;
    if (!target) SCREEN_LOCK();
    if (kind == LINE_KIND_BOX) {
        drawBox(surface, pixelIndex(x1), pixelIndex(y1), pixelIndex(x2), pixelIndex(y2), colour, style);
    } else {
        Segment s{x1, y1, x2, y2};
        if (clipToPixelLimit(s)) {
            drawSegment(surface, pixelIndex(s.x1), pixelIndex(s.y1), pixelIndex(s.x2), pixelIndex(s.y2), colour,
                        style, 0);
        }
    }
    if (!target) SCREEN_UNLOCK();
}
