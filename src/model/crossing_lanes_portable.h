// Four edges against one, in plain C++: LINES_INTERSECT itself on each, which is
// what the SSE2 form in model/crossing_lanes_sse2.h reproduces lane by lane.
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
    unsigned lanes = 0;
    for (size_t k = 0; k < kLanes; ++k) {
        Vec2f unused;
        if (LINES_INTERSECT(unused, a1, a2, {startX[k], startY[k]}, {endX[k], endY[k]})) lanes |= 1u << k;
    }
    return lanes;
}

} // namespace crossing_lanes_portable
