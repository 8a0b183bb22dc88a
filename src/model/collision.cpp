// Exact collision tests on transformed outlines: edge against edge, the first
// crossing in index order deciding both the result and the contact point. The model
// test runs four of b's edges at a time through the very float operations of
// LINES_INTERSECT (SSE lanes round as the scalar unit does), so it decides every
// pair exactly as the plain double loop would. Nothing here allocates.
#include "model/model.h"

#include <xmmintrin.h>

#include <algorithm>
#include <bit>

namespace {

constexpr size_t kLanes = 4;
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
            const unsigned lanes = crossingLanes(a1, a2, k);
            if (lanes != 0) return k + static_cast<size_t>(std::countr_zero(lanes));
        }
        return count_;
    }

    size_t count() const { return count_; }

private:
    // LINES_INTERSECT's steps, lane by lane: the same differences, products, quotients
    // and closed-interval tests, in the same order, so every rounding is the same.
    // Computing v where the scalar code stops early changes nothing, as nothing is kept.
    unsigned crossingLanes(Vec2f a1, Vec2f a2, size_t k) const
    {
        const __m128 d1x = _mm_set1_ps(a2.x - a1.x);
        const __m128 d1y = _mm_set1_ps(a2.y - a1.y);
        const __m128 b1x = _mm_loadu_ps(startX_ + k);
        const __m128 b1y = _mm_loadu_ps(startY_ + k);
        const __m128 d2x = _mm_sub_ps(_mm_loadu_ps(endX_ + k), b1x);
        const __m128 d2y = _mm_sub_ps(_mm_loadu_ps(endY_ + k), b1y);
        const __m128 d3x = _mm_sub_ps(b1x, _mm_set1_ps(a1.x));
        const __m128 d3y = _mm_sub_ps(b1y, _mm_set1_ps(a1.y));
        const __m128 den = _mm_sub_ps(_mm_mul_ps(d1x, d2y), _mm_mul_ps(d1y, d2x));
        const __m128 u = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(d3x, d2y), _mm_mul_ps(d3y, d2x)), den);
        const __m128 v = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(d3x, d1y), _mm_mul_ps(d3y, d1x)), den);
        const __m128 zero = _mm_setzero_ps();
        const __m128 one = _mm_set1_ps(1.0f);
        // Ordered comparisons: a quotient that is not a number fails, as in the scalar test.
        const __m128 uInside = _mm_and_ps(_mm_cmpge_ps(u, zero), _mm_cmple_ps(u, one));
        const __m128 vInside = _mm_and_ps(_mm_cmpge_ps(v, zero), _mm_cmple_ps(v, one));
        const __m128 crossing = _mm_and_ps(_mm_cmpneq_ps(den, zero), _mm_and_ps(uInside, vInside));
        return static_cast<unsigned>(_mm_movemask_ps(crossing));
    }

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
