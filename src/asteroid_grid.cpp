// The field's uniform grid: doubly linked lists of asteroid indices per cell, kept in
// vectors that are reused from frame to frame. A moving asteroid is re-linked only
// when it changes cell.
#include "asteroid_grid.h"

#include "broad_collision.h"
#include "entity.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Enough cells for any level while the heads stay cheap to clear every frame; a
// field spread wider gets wider cells, which only adds candidates.
constexpr int32_t kMostCellsPerAxis = 64;

} // namespace

void AsteroidGrid::Axis::cover(double low, double high, double reach)
{
    const double span = high > low ? high - low : 0.0;
    const double width = std::max(reach, span / kMostCellsPerAxis);
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
    const double reach = broad_collision::farthestReach(largestRadius);
    x_.cover(lowX, highX, reach);
    y_.cover(lowY, highY, reach);

    // The cell count follows the field's spread from frame to frame; room for the
    // most there can be keeps that from allocating.
    head_.reserve(static_cast<size_t>(kMostCellsPerAxis) * kMostCellsPerAxis);
    head_.assign(static_cast<size_t>(x_.cells) * y_.cells, kNone);
    const size_t count = asteroids.size();
    next_.resize(count);
    previous_.resize(count);
    cell_.assign(count, kNone);
    position_.resize(count);
    radius_.resize(count);
    found_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        position_[i] = asteroids[i].position;
        radius_[i] = asteroids[i].model.radius;
        if (asteroids[i].active) link(static_cast<int32_t>(i), cellOf(asteroids[i].position));
    }
}

void AsteroidGrid::move(size_t index, Vec2f position)
{
    const int32_t i = static_cast<int32_t>(index);
    position_[index] = position;
    const int32_t cell = cellOf(position);
    if (cell_[index] == cell) return;
    unlink(i);
    link(i, cell);
}

const std::vector<int32_t>& AsteroidGrid::near(size_t index)
{
    found_.clear();
    const Vec2f position = position_[index];
    const int32_t radius = radius_[index];
    const int32_t cx = x_.cellOf(position.x);
    const int32_t cy = y_.cellOf(position.y);
    for (int32_t y = std::max(cy - 1, 0); y <= std::min(cy + 1, y_.cells - 1); ++y) {
        for (int32_t x = std::max(cx - 1, 0); x <= std::min(cx + 1, x_.cells - 1); ++x) {
            for (int32_t j = head_[static_cast<size_t>(y) * x_.cells + x]; j != kNone; j = next_[j]) {
                if (static_cast<size_t>(j) != index &&
                    broad_collision::nearEnough(position, radius, position_[j], radius_[j])) {
                    found_.push_back(j);
                }
            }
        }
    }
    std::sort(found_.begin(), found_.end());
    return found_;
}

void AsteroidGrid::link(int32_t index, int32_t cell)
{
    const int32_t first = head_[cell];
    next_[index] = first;
    previous_[index] = kNone;
    if (first != kNone) previous_[first] = index;
    head_[cell] = index;
    cell_[index] = cell;
}

void AsteroidGrid::unlink(int32_t index)
{
    const int32_t before = previous_[index];
    const int32_t after = next_[index];
    if (before != kNone) next_[before] = after;
    else head_[cell_[index]] = after;
    if (after != kNone) previous_[after] = before;
    cell_[index] = kNone;
}
