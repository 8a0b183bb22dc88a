// Exact collision tests on transformed outlines: edge against edge, the first
// crossing in index order deciding both the result and the contact point. The model
// test runs four of b's edges at a time through the very float operations of
// LINES_INTERSECT (vector lanes round as the scalar unit does), so it decides every
// pair exactly as the plain double loop would. Nothing here allocates.
#include "model/crossing_lanes.h"
#include "model/model.h"

#include <algorithm>
#include <bit>

namespace {

using crossing_lanes::kLanes;
constexpr size_t kWindow = 64; // b's lines placed at a time, on the stack

// A window of b's lines placed at b's position: exactly the points LINES_INTERSECT
// is given, laid out by coordinate so that four lines load at once.
class PlacedLines {
public:
    void place(const Model& model, Vec2f position, size_t first, size_t count)
    {
        count_ = count;
        for (size_t k = 0; k < count; ++k) {
            const ModelLine& line = model.transformed[first + k];
            const Vec2f start = position + line.start;
            const Vec2f end = position + line.end;
            startX_[k] = start.x;
            startY_[k] = start.y;
            endX_[k] = end.x;
            endY_[k] = end.y;
        }
        // The last group of lanes is filled up with zero-length lines, which never
        // cross anything: their denominator is 0, or not a number along with u.
        for (size_t k = count; k % kLanes != 0; ++k) startX_[k] = startY_[k] = endX_[k] = endY_[k] = 0.0f;
    }

    Vec2f start(size_t k) const { return {startX_[k], startY_[k]}; }
    Vec2f end(size_t k) const { return {endX_[k], endY_[k]}; }

    // The first placed line that LINES_INTERSECT finds crossing a1-a2, or count().
    size_t firstCrossing(Vec2f a1, Vec2f a2) const
    {
        for (size_t k = 0; k < count_; k += kLanes) {
            const unsigned lanes =
                crossing_lanes::crossingLanes(a1, a2, startX_ + k, startY_ + k, endX_ + k, endY_ + k);
            if (lanes != 0) return k + static_cast<size_t>(std::countr_zero(lanes));
        }
        return count_;
    }

    size_t count() const { return count_; }

private:
    // Room for a whole last group of lanes.
    float startX_[kWindow + kLanes];
    float startY_[kWindow + kLanes];
    float endX_[kWindow + kLanes];
    float endY_[kWindow + kLanes];
    size_t count_ = 0;
};

} // namespace

int CHECK_MODEL_MODEL_COLLISION(const Model& a, Vec2f aPosition, const Model& b, Vec2f bPosition, Vec2f& contact)
{
    const size_t lines = b.transformed.size();
    const bool oneWindow = lines <= kWindow; // then b is placed once, not for every line of a
    PlacedLines placed;
    if (oneWindow) placed.place(b, bPosition, 0, lines);
    for (size_t i = 0; i < a.transformed.size(); ++i) {
        const Vec2f a1 = aPosition + a.transformed[i].start;
        const Vec2f a2 = aPosition + a.transformed[i].end;
        for (size_t first = 0; first < lines; first += kWindow) {
            if (!oneWindow) placed.place(b, bPosition, first, std::min(kWindow, lines - first));
            const size_t k = placed.firstCrossing(a1, a2);
            if (k < placed.count()) {
                LINES_INTERSECT(contact, a1, a2, placed.start(k), placed.end(k)); // for the contact point
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

int CHECK_LINE_MODEL_COLLISION(Vec2f p, Vec2f q, const Model& model, Vec2f position, Vec2f& contact)
{
    for (size_t i = 0; i < model.transformed.size(); ++i) {
        const ModelLine& line = model.transformed[i];
        if (LINES_INTERSECT(contact, p, q, position + line.start, position + line.end)) return static_cast<int>(i);
    }
    return -1;
}
