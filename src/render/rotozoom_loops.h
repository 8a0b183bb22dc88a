// The sprite drawers' pixel loops: nearest-texel sampling, its bounds test and a
// put-down rule per drawer. Each row's source position is a serial chain of float
// additions, so rows can be sampled side by side (one vector lane each) without
// changing one rounding: drawRows<1> is the plain reference; drawRows<4> and
// copyShifted (for unrotated, unscaled copies) are fast paths that must match it bit
// for bit.
#pragma once

#include "render/rotozoom_plan.h"
#include "render/simd.h"

#include <algorithm>
#include <cmath>

namespace rotozoom {

using simd::roundToInt;

// Rows [first, first + kLanes) of the plan, sampled together; rowTermX/Y arrive at the
// first of them and leave past the last.
template <int kLanes, class Put>
void drawLanes(const Surface& dst, const Source& src, const Plan& plan, int first, float& rowTermX,
               float& rowTermY, const Put& put)
{
    float sx[4] = {}, sy[4] = {};
    uint32_t* out[kLanes];
    for (int k = 0; k < kLanes; ++k) {
        out[k] = dst.row(plan.top + first + k) + plan.left;
        sx[k] = plan.startX - rowTermX;
        sy[k] = plan.startY + rowTermY;
        rowTermX += plan.jy;
        rowTermY += plan.iy;
    }
    if constexpr (kLanes == 1) {
        float x = sx[0], y = sy[0];
        for (int c = 0; c < plan.columns; ++c) {
            uint32_t texel;
            if (readTexel(src, roundToInt(x), roundToInt(y), texel)) put(out[0][c], texel);
            x += plan.ix;
            y += plan.jx;
        }
    } else {
        static_assert(kLanes == 4, "four rows side by side");
        simd::drawFourRows(src, plan.columns, sx, sy, plan.ix, plan.jx, out, put);
    }
}

template <int kLanes, class Put>
void drawRows(const Surface& dst, const Source& src, const Plan& plan, const Put& put)
{
    float rowTermX = plan.rowTermX, rowTermY = plan.rowTermY;
    int row = 0;
    for (; row + kLanes <= plan.rows; row += kLanes) drawLanes<kLanes>(dst, src, plan, row, rowTermX, rowTermY, put);
    for (; row < plan.rows; ++row) drawLanes<1>(dst, src, plan, row, rowTermX, rowTermY, put);
}

// True when the plan moves the source by whole pixels only: unit steps, no rotation,
// and integer start positions small enough that every float sum of the reference
// loop is exact. Then each texel is the source pixel at a fixed offset, the
// rounding is the identity, and a row is a plain keyed copy.
inline bool isWholePixelShift(const Plan& plan)
{
    if (plan.ix != 1.0f || plan.jx != 0.0f || plan.iy != 1.0f || plan.jy != 0.0f) return false;
    const float sx = plan.startX - plan.rowTermX, sy = plan.startY + plan.rowTermY;
    constexpr float kExact = 1 << 23; // every integer below 2^24 is a float
    return sx == std::floor(sx) && sy == std::floor(sy) && std::fabs(sx) + float(plan.columns) < kExact &&
           std::fabs(sy) + float(plan.rows) < kExact;
}

// ROTOZOOM's rule for a whole-pixel shift: a texel equal to the key keeps the
// destination's pixel.
inline void copyShifted(const Surface& dst, const Source& src, const Plan& plan, uint32_t transparent)
{
    const int64_t x0 = int64_t(plan.startX - plan.rowTermX), y0 = int64_t(plan.startY + plan.rowTermY);
    const int64_t first = std::max<int64_t>(0, -x0), last = std::min<int64_t>(plan.columns, int64_t(src.width) - x0);
    if (first >= last) return;
    for (int row = 0; row < plan.rows; ++row) {
        const int64_t ty = y0 + row;
        if (ty < 0 || ty >= int64_t(src.height)) continue;
        const uint8_t* from = src.pixels + size_t(ty) * src.pitch + size_t(x0 + first) * 4;
        uint32_t* to = dst.row(plan.top + row) + plan.left + first;
        simd::copyKeyed(to, from, last - first, transparent);
    }
}

struct CopyTexel {
    uint32_t transparent;
    void operator()(uint32_t& dst, uint32_t texel) const
    {
        if (texel != transparent) dst = texel;
    }
};

// Blue, green and red move towards the texel by its alpha; the destination's alpha
// byte ends up 0.
struct AlphaTexel {
    uint32_t transparent;
    void operator()(uint32_t& dst, uint32_t texel) const
    {
        const int32_t a = int32_t(texel >> 24);
        if (texel == transparent || a == 0) return;
        uint32_t result = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int32_t s = int32_t((texel >> shift) & 0xFF), d = int32_t((dst >> shift) & 0xFF);
            // >> on a negative product rounds down, which keeps the sum within 0..255.
            result |= uint32_t((d + (((s - d) * a) >> 8)) & 0xFF) << shift;
        }
        dst = result;
    }
};

// All four bytes move towards the texel by one opacity, 0..255.
struct BlendTexel {
    uint32_t transparent;
    int32_t opacity;
    void operator()(uint32_t& dst, uint32_t texel) const
    {
        if (texel != transparent) dst = simd::blendBytes(dst, texel, opacity);
    }
};

} // namespace rotozoom
