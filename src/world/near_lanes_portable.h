// The grid's broad test on four entries, in plain C++: the float steps of the SSE2
// form in world/near_lanes_sse2.h, one entry after another.
#pragma once

#include "space/vec2f.h"

#include <cstdint>

namespace near_lanes_portable {

constexpr int32_t kLanes = 4; // the SSE2 form's groups, so both read the same padding

// Bit k is set when entry k is not self and lies within factor * (radiusSquared +
// entryRadiusSquared[k]) squared distance of the position.
inline unsigned nearLanes(Vec2f position, float radiusSquared, float factor, int32_t self, const float* entryX,
                          const float* entryY, const float* entryRadiusSquared, const int32_t* entryIndex)
{
    unsigned lanes = 0;
    for (int32_t k = 0; k < kLanes; ++k) {
        const float dx = position.x - entryX[k];
        const float dy = position.y - entryY[k];
        const float squared = dx * dx + dy * dy;
        const float limit = factor * (radiusSquared + entryRadiusSquared[k]);
        if (entryIndex[k] != self && squared <= limit) lanes |= 1u << k;
    }
    return lanes;
}

} // namespace near_lanes_portable
