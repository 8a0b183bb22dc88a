// A uniform grid over the asteroid field, the broad phase of the bounce: it finds for
// one asteroid the active asteroids that pass the broad test against it, so that a
// frame costs what the neighbours cost rather than the whole field squared.
//
// The grid is sorted by cell once a frame, each cell's asteroids side by side, so a
// query reads three runs of memory, four entries at a time. An asteroid moves once a
// frame, and its entry follows it in place while it stays within a slack of where it
// was binned; cells are at least the broad test's farthest reach plus that slack
// wide, so every asteroid the test can pass lies in the 3 x 3 cells around. One that
// moves farther (a wrap, or a long frame) becomes a stray, which every query looks
// at. The storage is kept from frame to frame and allocates only when the field grows.
#pragma once

#include "space/vec2f.h"

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

        void cover(double low, double high, double width);
        int32_t cellOf(float coordinate) const;
    };

    int32_t cellOf(Vec2f position) const { return y_.cellOf(position.y) * x_.cells + x_.cellOf(position.x); }
    void findInRun(int32_t begin, int32_t end, int32_t index, Vec2f position, int32_t radius);
    void findInRunByLanes(int32_t begin, int32_t end, int32_t index, Vec2f position, int32_t radius);

    static constexpr int32_t kNone = -1;
    Axis x_;
    Axis y_;
    bool smallRadii_ = true; // every radius small enough for the test in float lanes
    // Per cell, and one past the last: where its entries begin.
    std::vector<int32_t> cellStart_;
    // Per entry, in cell order: the asteroid and the broad test's inputs, kept together
    // so a query reads no whole entities, with room for a last group of four. A
    // stray's entry is emptied: its x is not a number, which no test passes.
    std::vector<int32_t> entryIndex_;
    std::vector<float> entryX_;
    std::vector<float> entryY_;
    std::vector<float> entryRadiusSquared_;
    // Per asteroid: its entry (kNone when not binned or a stray), where it was binned,
    // where it is now and its radius.
    std::vector<int32_t> entryOf_;
    std::vector<Vec2f> binnedAt_;
    std::vector<Vec2f> position_;
    std::vector<int32_t> radius_;
    std::vector<int32_t> strays_;
    std::vector<int32_t> found_;
};
