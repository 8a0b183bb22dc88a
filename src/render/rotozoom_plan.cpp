// The bounding box of a rotated, scaled sprite and its clipping. Coordinates are kept
// in 64 bits and saturated far outside any target, so huge or infinite zooms and
// positions still clip to a region inside the destination.
#include "render/rotozoom_plan.h"

#include "render/image.h"
#include "base/exact_math.h"

#include <cmath>
#include <utility>

namespace rotozoom {
namespace {

// Far beyond any destination, small enough that sums of a few stay exact in 64 bits.
constexpr float kBoxLimit = float(int64_t(1) << 40);

// Nearest, ties to even (the default rounding mode), saturated; NaN (from NaN zooms)
// becomes 0.
int64_t roundBox(float value)
{
    if (std::isnan(value)) return 0;
    return int64_t(std::nearbyint(std::fmin(std::fmax(value, -kBoxLimit), kBoxLimit)));
}

// The four candidates sorted ascending by exchanges; only the ends are used.
void exchangeSort(int64_t (&v)[4])
{
    for (int i = 0; i < 4; ++i) {
        for (int j = i; j < 4; ++j) {
            if (v[j] <= v[i]) std::swap(v[i], v[j]);
        }
    }
}

// Degrees to radians with the factor held as a float, sine and cosine in double, then
// stored as floats. The factor has 24 significant bits, so the product is exact in
// double for every |angle| < 2^29 (and for any int a float holds exactly): the game's
// sprites turn by whole degrees in [0, 360]. A larger int from another caller rounds
// once, the same everywhere. The degrees are not wrapped: the float factor is not
// exactly pi / 180, so 361 and 1 degrees give different turns, as they always have.
void rotation(int angle, float& c, float& s)
{
    const double radians = static_cast<double>(angle) * static_cast<double>(0.017453292f);
    c = float(exact::cos(radians));
    s = float(exact::sin(radians));
}

} // namespace

bool planRotozoom(const Surface& dst, const Image& src, const Request& r, Plan& plan)
{
    if (!dst.base || dst.width <= 0 || dst.height <= 0 || src.width == 0 || src.height == 0) return false;
    // Rows must hold their pixels and start on whole pixels, or a row would spill.
    if (dst.pitch % 4 != 0 || int64_t(dst.width) * 4 > dst.pitch) return false;
    float c, s;
    rotation(r.angle, c, s);
    const int64_t hw = src.width >> 1, hh = src.height >> 1;
    const float fhw = float(hw), fhh = float(hh);
    const float zx = r.zx, zy = r.zy;

    const int64_t ax = roundBox(fhw * c * zx + fhh * s * zx);
    const int64_t ay = roundBox(fhh * c * zy - fhw * s * zy);
    const int64_t bx = roundBox(fhh * s * zx - fhw * c * zx);
    const int64_t by = roundBox(fhw * s * zy + fhh * c * zy);
    int64_t xs[4] = {hw - ax, hw + ax, hw - bx, hw + bx};
    int64_t ys[4] = {hh - ay, hh + ay, hh - by, hh + by};
    exchangeSort(xs);
    exchangeSort(ys);
    int64_t minX = xs[0], maxX = xs[3], minY = ys[0], maxY = ys[3];

    int64_t ox = int64_t(r.x) - hw, oy = int64_t(r.y) - hh;
    if (r.pivot) {
        const float px = float(r.px), py = float(r.py);
        ox += roundBox(px - (px * c * zx + py * s * zx));
        oy += roundBox(py - (py * c * zy - px * s * zy));
    }

    // The order matters: a box wholly outside collapses to one row or column and is
    // then dropped by the equality test below.
    const int64_t w = dst.width, h = dst.height;
    if (oy + minY < 0) minY = -oy;
    if (ox + minX < 0) minX = -ox;
    if (oy + maxY < 0) maxY = -oy;
    if (ox + maxX < 0) maxX = -ox;
    if (ox + minX > w - 1) minX = w - 1 - ox;
    if (oy + minY > h - 1) minY = h - 1 - oy;
    if (ox + maxX > w - 1) maxX = w - 1 - ox;
    if (oy + maxY > h - 1) maxY = h - 1 - oy;
    if (maxX == minX || maxY == minY) return false;

    const int64_t extra = r.oneSmaller ? 0 : 1;
    plan.left = int(ox + minX);
    plan.top = int(oy + minY);
    plan.columns = int(maxX - minX + extra);
    plan.rows = int(maxY - minY + extra);
    plan.ix = c / zx;
    plan.jx = s / zx;
    plan.iy = c / zy;
    plan.jy = s / zy;
    const float dx0 = float(minX - hw), dy0 = float(minY - hh);
    plan.startX = fhw + dx0 * plan.ix;
    plan.startY = fhh + dx0 * plan.jx;
    plan.rowTermX = dy0 * plan.jy;
    plan.rowTermY = dy0 * plan.iy;
    return true;
}

bool sourceOf(const Image* src, Source& out)
{
    if (!src || src->bytesPerPixel != 4 || src->width == 0 || src->height == 0) return false;
    if (size_t(src->width) * 4 > src->pitch) return false; // rows would overlap
    out = {imagePixels(src), src->width, src->height, src->pitch};
    return true;
}

} // namespace rotozoom
