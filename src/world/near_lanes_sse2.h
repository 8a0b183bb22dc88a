// The grid's broad test on four entries at once with SSE2; world/near_lanes_portable.h
// holds the same steps in plain C++.
#pragma once

#include "space/vec2f.h"

#include <emmintrin.h>

#include <cstdint>

namespace near_lanes_sse2 {

constexpr int32_t kLanes = 4; // floats in a register

// Bit k is set when entry k is not self and lies within factor * (radiusSquared +
// entryRadiusSquared[k]) squared distance of the position.
inline unsigned nearLanes(Vec2f position, float radiusSquared, float factor, int32_t self, const float* entryX,
                          const float* entryY, const float* entryRadiusSquared, const int32_t* entryIndex)
{
    const __m128 dx = _mm_sub_ps(_mm_set1_ps(position.x), _mm_loadu_ps(entryX));
    const __m128 dy = _mm_sub_ps(_mm_set1_ps(position.y), _mm_loadu_ps(entryY));
    const __m128 squared = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
    const __m128 limit =
        _mm_mul_ps(_mm_set1_ps(factor), _mm_add_ps(_mm_set1_ps(radiusSquared), _mm_loadu_ps(entryRadiusSquared)));
    const __m128i indices = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entryIndex));
    const __m128 others = _mm_castsi128_ps(_mm_cmpeq_epi32(indices, _mm_set1_epi32(self)));
    return static_cast<unsigned>(_mm_movemask_ps(_mm_andnot_ps(others, _mm_cmple_ps(squared, limit))));
}

} // namespace near_lanes_sse2
