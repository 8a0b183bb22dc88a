// The field's uniform grid: the active asteroids counting-sorted by cell into flat
// arrays once a frame, reused from frame to frame.
#include "world/asteroid_grid.h"

#include "world/broad_collision.h"
#include "world/entity.h"
#include "world/near_lanes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Enough cells for any level while the cell table stays cheap to fill every frame; a
// field spread wider gets wider cells, which only adds candidates.
constexpr int32_t kMostCellsPerAxis = 64;

// How far an asteroid's entry follows it before it turns stray: a few frames of the
// fastest asteroid's flight, while the cells grow by a few percent only.
constexpr double kSlack = 8.0;

using near_lanes::kLanes;

// Up to this size, the broad test's squares and their sum times 3.5 are whole or half
// numbers below 2^23, exact in float as in double, so four lanes of float decide
// exactly as the test does.
constexpr double kLargestSmallRadius = 1024.0;

} // namespace

void AsteroidGrid::Axis::cover(double low, double high, double width)
{
    const double span = high > low ? high - low : 0.0;
    width = std::max(width, span / kMostCellsPerAxis);
    origin = low;
    inverseWidth = 1.0 / width;
    // The highest coordinate falls in the last cell.
    cells = std::min<int32_t>(kMostCellsPerAxis, static_cast<int32_t>(span * inverseWidth) + 1);
}

// Rounding (or clamping) both coordinates of a pair that lie less than a cell apart
// the same way leaves their cells at most one apart.
int32_t AsteroidGrid::Axis::cellOf(float coordinate) const
{
    const double q = (double{coordinate} - origin) * inverseWidth;
    if (!(q >= 0.0)) return 0; // also a coordinate that is not a number
    if (!(q < cells)) return cells - 1;
    return static_cast<int32_t>(q);
}

void AsteroidGrid::build(const std::vector<Entity>& asteroids)
{
    double largestRadius = 0.0;
    double lowX = 0.0, highX = 0.0, lowY = 0.0, highY = 0.0;
    bool first = true;
    for (const Entity& asteroid : asteroids) {
        if (!asteroid.active) continue;
        largestRadius = std::max(largestRadius, std::abs(static_cast<double>(asteroid.model.radius)));
        const Vec2f p = asteroid.position;
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        if (first) {
            lowX = highX = p.x;
            lowY = highY = p.y;
            first = false;
        }
        lowX = std::min<double>(lowX, p.x);
        highX = std::max<double>(highX, p.x);
        lowY = std::min<double>(lowY, p.y);
        highY = std::max<double>(highY, p.y);
    }
    smallRadii_ = largestRadius <= kLargestSmallRadius;
    // A pair the broad test passes lies within the reach; the one that moved since it
    // was binned lies within the slack of its cell on top of that.
    const double width = broad_collision::farthestReach(largestRadius) + kSlack;
    x_.cover(lowX, highX, width);
    y_.cover(lowY, highY, width);

    const size_t count = asteroids.size();
    entryOf_.resize(count);
    binnedAt_.resize(count);
    position_.resize(count);
    radius_.resize(count);
    strays_.clear();
    strays_.reserve(count);
    found_.reserve(count);

    // Counting sort by cell, in index order within each cell. The cell count follows
    // the field's spread from frame to frame; room for the most keeps that from
    // allocating. cellStart_[c + 1] counts cell c's asteroids first.
    const size_t cells = static_cast<size_t>(x_.cells) * y_.cells;
    cellStart_.reserve(static_cast<size_t>(kMostCellsPerAxis) * kMostCellsPerAxis + 1);
    cellStart_.assign(cells + 1, 0);
    for (size_t i = 0; i < count; ++i) {
        const Entity& asteroid = asteroids[i];
        position_[i] = binnedAt_[i] = asteroid.position;
        radius_[i] = asteroid.model.radius;
        entryOf_[i] = asteroid.active ? cellOf(asteroid.position) : kNone; // the cell, for now
        if (asteroid.active) ++cellStart_[static_cast<size_t>(entryOf_[i]) + 1];
    }
    for (size_t c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
    const size_t entries = static_cast<size_t>(cellStart_[cells]);
    entryIndex_.resize(entries + kLanes - 1);
    entryX_.resize(entries + kLanes - 1);
    entryY_.resize(entries + kLanes - 1);
    entryRadiusSquared_.resize(entries + kLanes - 1);
    // Each cell's start walks to its end as the cell is filled, which is the next
    // cell's start; shifting the table by one then gives every cell its start back.
    for (size_t i = 0; i < count; ++i) {
        if (entryOf_[i] == kNone) continue;
        const int32_t e = cellStart_[static_cast<size_t>(entryOf_[i])]++;
        entryOf_[i] = e;
        entryIndex_[e] = static_cast<int32_t>(i);
        entryX_[e] = position_[i].x;
        entryY_[e] = position_[i].y;
        entryRadiusSquared_[e] = smallRadii_ ? static_cast<float>(radius_[i] * radius_[i]) : 0.0f;
    }
    for (size_t c = cells; c > 0; --c) cellStart_[c] = cellStart_[c - 1];
    cellStart_[0] = 0;
}

void AsteroidGrid::move(size_t index, Vec2f position)
{
    position_[index] = position;
    const int32_t e = entryOf_[index];
    if (e == kNone) return; // a stray already: queries read position_
    const Vec2f from = binnedAt_[index];
    const bool withinSlack = std::abs(double{position.x} - from.x) <= kSlack &&
                             std::abs(double{position.y} - from.y) <= kSlack; // false for NaN
    if (withinSlack) {
        entryX_[e] = position.x;
        entryY_[e] = position.y;
        return;
    }
    entryX_[e] = std::numeric_limits<float>::quiet_NaN();
    entryOf_[index] = kNone;
    strays_.push_back(static_cast<int32_t>(index));
}

void AsteroidGrid::findInRun(int32_t begin, int32_t end, int32_t index, Vec2f position, int32_t radius)
{
    for (int32_t e = begin; e < end; ++e) {
        const int32_t j = entryIndex_[e];
        if (j != index && broad_collision::nearEnough(position, radius, {entryX_[e], entryY_[e]}, radius_[j])) {
            found_.push_back(j);
        }
    }
}

// nearEnough four entries at a time, in float lanes: the same differences and squares,
// and a limit that is exact in float for small radii.
void AsteroidGrid::findInRunByLanes(int32_t begin, int32_t end, int32_t index, Vec2f position, int32_t radius)
{
    const float radiusSquared = static_cast<float>(radius * radius);
    const float factor = static_cast<float>(broad_collision::kBroadFactor);
    for (int32_t e = begin; e < end; e += kLanes) {
        unsigned near = near_lanes::nearLanes(position, radiusSquared, factor, index, &entryX_[e], &entryY_[e],
                                              &entryRadiusSquared_[e], &entryIndex_[e]);
        if (end - e < kLanes) near &= (1u << (end - e)) - 1;
        for (; near != 0; near &= near - 1) found_.push_back(entryIndex_[e + std::countr_zero(near)]);
    }
}

const std::vector<int32_t>& AsteroidGrid::near(size_t index)
{
    found_.clear();
    const int32_t self = static_cast<int32_t>(index);
    const Vec2f position = position_[index];
    const int32_t radius = radius_[index];
    const int32_t cx = x_.cellOf(position.x);
    const int32_t cy = y_.cellOf(position.y);
    const int32_t left = std::max(cx - 1, 0);
    const int32_t right = std::min(cx + 1, x_.cells - 1);
    for (int32_t y = std::max(cy - 1, 0); y <= std::min(cy + 1, y_.cells - 1); ++y) {
        const size_t row = static_cast<size_t>(y) * x_.cells;
        const int32_t begin = cellStart_[row + left];
        const int32_t end = cellStart_[row + right + 1];
        if (smallRadii_) findInRunByLanes(begin, end, self, position, radius);
        else findInRun(begin, end, self, position, radius);
    }
    for (const int32_t j : strays_) {
        if (j != self && broad_collision::nearEnough(position, radius, position_[j], radius_[j])) found_.push_back(j);
    }
    std::sort(found_.begin(), found_.end());
    return found_;
}
