// The broad collision test shared by the ship and the asteroid field: a cheap circle
// check that keeps the exact model-against-model test to pairs that may touch. The
// squared distance is summed in float; the radii are the models' integers.
#pragma once

#include "space/vec2f.h"

#include <cmath>
#include <cstdint>

namespace broad_collision {

constexpr double kBroadFactor = 3.5; // on the summed squared radii

// True when the bounding circles, widened by the broad factor, may overlap.
inline bool nearEnough(Vec2f a, int32_t radiusA, Vec2f b, int32_t radiusB)
{
    const Vec2f d = a - b;
    const float distanceSquared = d.x * d.x + d.y * d.y;
    const double ra = radiusA;
    const double rb = radiusB;
    return distanceSquared <= kBroadFactor * (ra * ra + rb * rb);
}

// A distance along either axis beyond which nearEnough fails for any two radii whose
// sizes are at most largestRadius. The float differences and squares that
// nearEnough rounds may make a pair look a few parts in 10^7 nearer than it is;
// the relative and the absolute margin cover that, and the latter also the squares
// that underflow to 0.
inline double farthestReach(double largestRadius)
{
    const double r = largestRadius;
    return std::sqrt(kBroadFactor * (r * r + r * r)) * (1.0 + 1e-6) + 1.0;
}

} // namespace broad_collision
