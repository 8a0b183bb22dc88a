// Four edges against one in plain C++: LINES_INTERSECT's steps for each edge, the
// same differences, products, quotients and closed-interval tests in the same order,
// but with no early exit, so that a compiler may run the four side by side as the
// SSE2 form in model/crossing_lanes_sse2.h does.
#pragma once

#include "space/vec2f.h"

#include <cstddef>

namespace crossing_lanes_portable {

constexpr size_t kLanes = 4; // the SSE2 form's groups, so both pad the same

// Bit k is set when the edge from (startX[k], startY[k]) to (endX[k], endY[k])
// crosses a1-a2.
inline unsigned crossingLanes(Vec2f a1, Vec2f a2, const float* startX, const float* startY, const float* endX,
                              const float* endY)
{
    const float d1x = a2.x - a1.x, d1y = a2.y - a1.y;
    unsigned lanes = 0;
    for (size_t k = 0; k < kLanes; ++k) {
        const float d2x = endX[k] - startX[k], d2y = endY[k] - startY[k];
        const float d3x = startX[k] - a1.x, d3y = startY[k] - a1.y;
        const float den = d1x * d2y - d1y * d2x;
        const float u = (d3x * d2y - d3y * d2x) / den;
        const float v = (d3x * d1y - d3y * d1x) / den;
        // A quotient that is not a number fails every test, as in the scalar code.
        const bool crossing = (den != 0.0f) & (u >= 0.0f) & (u <= 1.0f) & (v >= 0.0f) & (v <= 1.0f);
        lanes |= unsigned(crossing) << k;
    }
    return lanes;
}

} // namespace crossing_lanes_portable
