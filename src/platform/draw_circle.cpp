// DRAW_CIRCLE: outlines, filled discs, arcs and sectors of circles and ellipses.
// The outline is the union of a column sweep and a row sweep, which leaves no gaps
// on steep or flat stretches; both sweeps visit only the target's own columns and
// rows, so a huge radius costs no more than a small one.
#include "platform/platform.h"
#include "render/rounding.h"
#include "render/surface.h"
#include "base/exact_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Callers store a whole turn as a 32-bit float, a hair away from 2 pi either way.
constexpr double kWholeTurnTolerance = 1e-5;
constexpr double kEndTolerance = 1e-6;
// Eight times roughAngle's largest error.
constexpr double kRoughMargin = 1e-4;

struct Ellipse {
    int64_t cx, cy;
    double rx, ry;
};

struct Arc {
    bool whole;
    double start; // in [0, 2 pi)
    double span;  // counter-clockwise from start, in [0, 2 pi)
};

double wrapAngle(double angle)
{
    const double wrapped = std::fmod(angle, kTwoPi);
    return wrapped < 0.0 ? wrapped + kTwoPi : wrapped;
}

Arc makeArc(double start, double end)
{
    const double span = end - start;
    if (!std::isfinite(span) || std::fabs(span) >= kTwoPi - kWholeTurnTolerance) return {true, 0.0, 0.0};
    return {false, wrapAngle(start), wrapAngle(span)};
}

// atan2(y, x) to within 1.2e-5 (a five-term odd polynomial on the octant), for
// settling most pixels of an arc without the library call: the many small arcs of
// a crowded ping would otherwise spend most of a frame in it.
double roughAngle(double y, double x)
{
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const double t = std::min(ax, ay) / std::max(ax, ay);
    const double t2 = t * t;
    double angle = t * (0.9998660 + t2 * (-0.3302995 + t2 * (0.1801410 + t2 * (-0.0851330 + t2 * 0.0208351))));
    if (ay > ax) angle = std::numbers::pi / 2 - angle;
    if (x < 0.0) angle = std::numbers::pi - angle;
    return y < 0.0 ? -angle : angle;
}

bool onArc(const Arc& arc, const Ellipse& e, int64_t dx, int64_t dy)
{
    if (arc.whole || (dx == 0 && dy == 0)) return true;
    // Screen y grows downwards, angles grow counter-clockwise as the viewer sees them.
    const double y = -double(dy) / e.ry;
    const double x = double(dx) / e.rx;
    // The ends are 32-bit floats; a point exactly on one must not fall a hair outside.
    const double lastIn = arc.span + kEndTolerance;
    const double firstIn = kTwoPi - kEndTolerance;
    // Well inside or well outside by the rough angle is so by the exact one too; near
    // an end, or near the start where the wrap turns 2 pi into 0, the exact one decides.
    // The rough angle lies in [-pi, pi] and the start in [0, 2 pi): two turns at most
    // wrap their difference.
    double rough = roughAngle(y, x) - arc.start;
    if (rough < 0.0) rough += kTwoPi;
    if (rough < 0.0) rough += kTwoPi;
    if (rough > kRoughMargin && rough < lastIn - kRoughMargin) return true;
    if (rough > lastIn + kRoughMargin && rough < firstIn - kRoughMargin) return false;
    const double fromStart = wrapAngle(exact::atan2(y, x) - arc.start);
    return fromStart <= lastIn || fromStart >= firstIn;
}

void plot(const Surface& s, const Ellipse& e, const Arc& arc, int64_t dx, int64_t dy, uint32_t colour)
{
    const int64_t x = e.cx + dx;
    const int64_t y = e.cy + dy;
    if (s.contains(x, y) && onArc(arc, e, dx, dy)) s.row(int(y))[x] = colour;
}

// Half the chord of the ellipse at `offset` from the centre along one axis.
int64_t halfChord(double offset, double alongRadius, double acrossRadius)
{
    const double t = offset / alongRadius;
    return std::llround(acrossRadius * std::sqrt(std::max(0.0, 1.0 - t * t)));
}

// The offsets from `centre` within the radius that land on [0, size).
void visibleOffsets(int64_t centre, double radius, int64_t size, int64_t& first, int64_t& last)
{
    const auto reach = static_cast<int64_t>(std::floor(radius));
    first = std::max(-reach, -centre);
    last = std::min(reach, size - 1 - centre);
}

void drawOutline(const Surface& s, const Ellipse& e, const Arc& arc, uint32_t colour)
{
    int64_t first, last;
    visibleOffsets(e.cx, e.rx, s.width, first, last);
    for (int64_t dx = first; dx <= last; ++dx) {
        const int64_t dy = halfChord(double(dx), e.rx, e.ry);
        plot(s, e, arc, dx, dy, colour);
        plot(s, e, arc, dx, -dy, colour);
    }
    visibleOffsets(e.cy, e.ry, s.height, first, last);
    for (int64_t dy = first; dy <= last; ++dy) {
        const int64_t dx = halfChord(double(dy), e.ry, e.rx);
        plot(s, e, arc, dx, dy, colour);
        plot(s, e, arc, -dx, dy, colour);
    }
}

void drawInterior(const Surface& s, const Ellipse& e, const Arc& arc, uint32_t colour)
{
    int64_t first, last;
    visibleOffsets(e.cy, e.ry, s.height, first, last);
    for (int64_t dy = first; dy <= last; ++dy) {
        const int64_t halfWidth = halfChord(double(dy), e.ry, e.rx);
        const int64_t left = std::max(-halfWidth, -e.cx);
        const int64_t right = std::min(halfWidth, s.width - 1 - e.cx);
        for (int64_t dx = left; dx <= right; ++dx) plot(s, e, arc, dx, dy, colour);
    }
}

} // namespace

void DRAW_CIRCLE(Image* target, float x, float y, float radius, uint32_t colour, float aspect, float startAngle,
                 float endAngle, int fill)
{
    if (!std::isfinite(x) || !std::isfinite(y) || !(radius > 0.0f)) return;
    const Surface surface = surfaceOf(target);
    if (!surface.base) return;

    // Aspect is height over width; 0 (or nonsense) means round. The larger axis keeps the radius.
    const double ratio = aspect > 0.0f && std::isfinite(aspect) ? aspect : 1.0;
    const double r = std::min(double(radius), kPixelLimit);
    const Ellipse ellipse{pixelIndex(x), pixelIndex(y), ratio < 1.0 ? r : r / ratio, ratio < 1.0 ? r * ratio : r};
    if (!(ellipse.rx > 0.0) || !(ellipse.ry > 0.0)) return;
    const Arc arc = makeArc(startAngle, endAngle);

    if (!target) SCREEN_LOCK();
    if (fill) drawInterior(surface, ellipse, arc, colour);
    drawOutline(surface, ellipse, arc, colour);
    if (!target) SCREEN_UNLOCK();
}
