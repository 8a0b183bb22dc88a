// Small pieces the entity, asteroid, effect and field tests share: a square outline
// with a chosen bounding radius, a world size that is put back after the test, and a
// comparison of points bit for bit.
#pragma once

#include "space/camera.h"
#include "model/model.h"
#include "space/world_size.h"

#include <bit>
#include <cstdint>

// A square of the given half side around the origin, corners clockwise from the top
// left, already turned (angle 0, scale 1) so it can collide before any update.
inline Model squareOutline(float halfSide, int32_t radius)
{
    Model model;
    for (Vec2f corner : {Vec2f(-halfSide, -halfSide), Vec2f(halfSide, -halfSide), Vec2f(halfSide, halfSide),
                         Vec2f(-halfSide, halfSide)}) {
        ModelLine line;
        line.end = corner;
        model.lines.push_back(line);
    }
    model.radius = radius;
    TRANSFORM(model, {0, 0}, 0.0f, 1.0f, Camera{}, false);
    return model;
}

// Sets the program-wide world size for one test.
class ScopedWorld {
public:
    ScopedWorld(int width, int height) : oldWidth_(WORLD_W), oldHeight_(WORLD_H)
    {
        WORLD_W = width;
        WORLD_H = height;
    }
    ~ScopedWorld()
    {
        WORLD_W = oldWidth_;
        WORLD_H = oldHeight_;
    }
    ScopedWorld(const ScopedWorld&) = delete;
    ScopedWorld& operator=(const ScopedWorld&) = delete;

private:
    int oldWidth_;
    int oldHeight_;
};

// Equal in every bit: tells -0 from 0 and a NaN from another, as == does not.
inline bool sameBits(Vec2f a, Vec2f b)
{
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}
