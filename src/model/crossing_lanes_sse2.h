// Four edges against one with SSE2: LINES_INTERSECT's steps lane by lane, the same
// differences, products, quotients and closed-interval tests in the same order, so
// every rounding is the scalar unit's. Computing v where the scalar code stops early
// changes nothing, as nothing is kept.
#pragma once

#include "space/vec2f.h"

#include <xmmintrin.h>

#include <cstddef>

namespace crossing_lanes_sse2 {

constexpr size_t kLanes = 4; // floats in a register

// Bit k is set when the edge from (startX[k], startY[k]) to (endX[k], endY[k])
// crosses a1-a2.
inline unsigned crossingLanes(Vec2f a1, Vec2f a2, const float* startX, const float* startY, const float* endX,
                              const float* endY)
{
    const __m128 d1x = _mm_set1_ps(a2.x - a1.x);
    const __m128 d1y = _mm_set1_ps(a2.y - a1.y);
    const __m128 b1x = _mm_loadu_ps(startX);
    const __m128 b1y = _mm_loadu_ps(startY);
    const __m128 d2x = _mm_sub_ps(_mm_loadu_ps(endX), b1x);
    const __m128 d2y = _mm_sub_ps(_mm_loadu_ps(endY), b1y);
    const __m128 d3x = _mm_sub_ps(b1x, _mm_set1_ps(a1.x));
    const __m128 d3y = _mm_sub_ps(b1y, _mm_set1_ps(a1.y));
    const __m128 den = _mm_sub_ps(_mm_mul_ps(d1x, d2y), _mm_mul_ps(d1y, d2x));
    const __m128 u = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(d3x, d2y), _mm_mul_ps(d3y, d2x)), den);
    const __m128 v = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(d3x, d1y), _mm_mul_ps(d3y, d1x)), den);
    const __m128 zero = _mm_setzero_ps();
    const __m128 one = _mm_set1_ps(1.0f);
    // Ordered comparisons: a quotient that is not a number fails, as in the scalar test.
    const __m128 uInside = _mm_and_ps(_mm_cmpge_ps(u, zero), _mm_cmple_ps(u, one));
    const __m128 vInside = _mm_and_ps(_mm_cmpge_ps(v, zero), _mm_cmple_ps(v, one));
    const __m128 crossing = _mm_and_ps(_mm_cmpneq_ps(den, zero), _mm_and_ps(uInside, vInside));
    return static_cast<unsigned>(_mm_movemask_ps(crossing));
}

} // namespace crossing_lanes_sse2
