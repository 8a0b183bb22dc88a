// The sprite drawers' pixel loops: nearest-texel sampling, its bounds test and a
// put-down rule per drawer. Each row's source position is a serial chain of float
// additions, so rows can be sampled side by side (one SSE lane each) without changing
// one rounding: drawRows<1> is the plain reference; drawRows<4> and copyShifted (for
// unrotated, unscaled copies) are fast paths that must match it bit for bit.
#pragma once

#include "render/rotozoom_plan.h"
#include "render/sse_rounding.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace rotozoom {

using sse_rounding::roundToInt;
using sse_rounding::roundToInts;

inline bool readTexel(const Source& src, int32_t tx, int32_t ty, uint32_t& texel)
{
    if (uint32_t(tx) >= src.width || uint32_t(ty) >= src.height) return false;
    std::memcpy(&texel, src.pixels + size_t(uint32_t(ty)) * src.pitch + size_t(uint32_t(tx)) * 4, sizeof texel);
    return true;
}

// Every texel offset of such a source, ty * pitch / 4 + tx, is one 16-bit multiply-add.
inline bool fitsSixteenBits(const Source& src)
{
    return src.width < 32768 && src.height < 32768 && src.pitch % 4 == 0 && src.pitch / 4 < 32768;
}

// Four rows of a source that fits 16 bits: the bounds test and the texel offsets are
// done for all four lanes at once, leaving only the look-up and the put per pixel.
template <class Put>
void drawFourRowsNarrow(const Source& src, int columns, __m128 x, __m128 y, __m128 stepX, __m128 stepY,
                        uint32_t* const (&out)[4], const Put& put)
{
    // Signed compares of values with the sign bit flipped are unsigned compares, so
    // negative coordinates (and INT32_MIN from NaN) fail with the too-large ones.
    const __m128i flip = _mm_set1_epi32(INT32_MIN);
    const __m128i widthLimit = _mm_set1_epi32(int32_t(src.width ^ 0x80000000u));
    const __m128i heightLimit = _mm_set1_epi32(int32_t(src.height ^ 0x80000000u));
    const __m128i lowHalf = _mm_set1_epi32(0xFFFF);
    const __m128i weights = _mm_set1_epi32(int32_t(1u | uint32_t(src.pitch / 4) << 16));
    for (int c = 0; c < columns; ++c) {
        const __m128i tx = roundToInts(x), ty = roundToInts(y);
        x = _mm_add_ps(x, stepX);
        y = _mm_add_ps(y, stepY);
        const __m128i inside = _mm_and_si128(_mm_cmplt_epi32(_mm_xor_si128(tx, flip), widthLimit),
                                             _mm_cmplt_epi32(_mm_xor_si128(ty, flip), heightLimit));
        const int lanes = _mm_movemask_ps(_mm_castsi128_ps(inside));
        if (lanes == 0) continue;
        // Lanes that passed hold tx and ty below 32768: (tx, ty) . (1, pitch / 4).
        alignas(16) int32_t offset[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(offset),
                        _mm_madd_epi16(_mm_or_si128(_mm_and_si128(tx, lowHalf), _mm_slli_epi32(ty, 16)), weights));
        for (int k = 0; k < 4; ++k) {
            if (!(lanes >> k & 1)) continue;
            uint32_t texel;
            std::memcpy(&texel, src.pixels + size_t(uint32_t(offset[k])) * 4, sizeof texel);
            put(out[k][c], texel);
        }
    }
}

// Rows [first, first + kLanes) of the plan, sampled together; rowTermX/Y arrive at the
// first of them and leave past the last.
template <int kLanes, class Put>
void drawLanes(const Surface& dst, const Source& src, const Plan& plan, int first, float& rowTermX,
               float& rowTermY, const Put& put)
{
    alignas(16) float sx[4] = {}, sy[4] = {};
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
        static_assert(kLanes == 4, "one row per SSE lane");
        __m128 x = _mm_load_ps(sx), y = _mm_load_ps(sy);
        const __m128 stepX = _mm_set1_ps(plan.ix), stepY = _mm_set1_ps(plan.jx);
        if (fitsSixteenBits(src)) {
            drawFourRowsNarrow(src, plan.columns, x, y, stepX, stepY, out, put);
            return;
        }
        for (int c = 0; c < plan.columns; ++c) {
            alignas(16) int32_t tx[4], ty[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(tx), roundToInts(x));
            _mm_store_si128(reinterpret_cast<__m128i*>(ty), roundToInts(y));
            x = _mm_add_ps(x, stepX);
            y = _mm_add_ps(y, stepY);
            for (int k = 0; k < 4; ++k) {
                uint32_t texel;
                if (readTexel(src, tx[k], ty[k], texel)) put(out[k][c], texel);
            }
        }
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

// ROTOZOOM's rule for a whole-pixel shift, four pixels at a time: a texel equal to the
// key keeps the destination's pixel, so the vector store writes back what was there.
inline void copyShifted(const Surface& dst, const Source& src, const Plan& plan, uint32_t transparent)
{
    const int64_t x0 = int64_t(plan.startX - plan.rowTermX), y0 = int64_t(plan.startY + plan.rowTermY);
    const int64_t first = std::max<int64_t>(0, -x0), last = std::min<int64_t>(plan.columns, int64_t(src.width) - x0);
    if (first >= last) return;
    const __m128i key = _mm_set1_epi32(int(transparent));
    for (int row = 0; row < plan.rows; ++row) {
        const int64_t ty = y0 + row;
        if (ty < 0 || ty >= int64_t(src.height)) continue;
        const uint8_t* from = src.pixels + size_t(ty) * src.pitch + size_t(x0 + first) * 4;
        uint32_t* to = dst.row(plan.top + row) + plan.left + first;
        const int64_t count = last - first;
        int64_t i = 0;
        for (; i + 4 <= count; i += 4) {
            const __m128i texels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i * 4));
            const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
            const __m128i keyed = _mm_cmpeq_epi32(texels, key);
            const __m128i result = _mm_or_si128(_mm_and_si128(keyed, below), _mm_andnot_si128(keyed, texels));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), result);
        }
        for (; i < count; ++i) {
            uint32_t texel;
            std::memcpy(&texel, from + i * 4, sizeof texel);
            if (texel != transparent) to[i] = texel;
        }
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

// All four bytes move towards the texel by one opacity, 0..255, on 16-bit lanes. The
// product (src - dst) * opacity may wrap in 16 bits, but the arithmetic shift keeps
// floor(product / 256) modulo 256, and the exact result lies in 0..255, so masking the
// sum to 8 bits gives it back.
struct BlendTexel {
    uint32_t transparent;
    int32_t opacity;
    void operator()(uint32_t& dst, uint32_t texel) const
    {
        if (texel == transparent) return;
        const __m128i zero = _mm_setzero_si128();
        const __m128i s = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(texel)), zero);
        const __m128i d = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(dst)), zero);
        const __m128i step = _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(s, d), _mm_set1_epi16(int16_t(opacity))), 8);
        const __m128i sum = _mm_and_si128(_mm_add_epi16(d, step), _mm_set1_epi16(0xFF));
        dst = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
    }
};

} // namespace rotozoom
