// A uniform grid over the asteroid field, the broad phase of the bounce: it finds for
// one asteroid the active asteroids that pass the broad test against it, so that a
// frame costs what the neighbours cost rather than the whole field squared. Cells are
// at least the test's farthest reach wide, so every such asteroid lies in the 3 x 3
// cells around it. The storage is kept from frame to frame and allocates only when
// the field grows.
#pragma once

#include "vec2f.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct Entity;

class AsteroidGrid {
public:
    // Bins every active asteroid where it lies now, in cells sized for the largest
    // bounding radius among them. Positions outside the cells (or not numbers) are
    // kept in the nearest border cell, which never loses a near pair.
    void build(const std::vector<Entity>& asteroids);
    // Follows an asteroid that build() binned to its new position.
    void move(size_t index, Vec2f position);
    // Every binned asteroid but index that passes the broad test against it, each
    // where it was last built or moved, in ascending order. The list is valid until
    // the next call.
    const std::vector<int32_t>& near(size_t index);

private:
    struct Axis {
        double origin = 0.0;
        double inverseWidth = 1.0;
        int32_t cells = 1;

        void cover(double low, double high, double reach);
        int32_t cellOf(float coordinate) const;
    };

    int32_t cellOf(Vec2f position) const { return y_.cellOf(position.y) * x_.cells + x_.cellOf(position.x); }
    void link(int32_t index, int32_t cell);
    void unlink(int32_t index);

    static constexpr int32_t kNone = -1;
    Axis x_;
    Axis y_;
    std::vector<int32_t> head_;     // per cell: its first asteroid
    std::vector<int32_t> next_;     // per asteroid: the next in its cell, both ways
    std::vector<int32_t> previous_;
    std::vector<int32_t> cell_;     // per asteroid: its cell, kNone when not binned
    std::vector<Vec2f> position_;   // per asteroid: the broad test's inputs, kept
    std::vector<int32_t> radius_;   // together so the test reads no whole entities
    std::vector<int32_t> found_;
};
