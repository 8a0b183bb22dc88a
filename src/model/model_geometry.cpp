// Outline geometry: closing, turning and scaling, centring. TRANSFORM computes only
// the ends and lets SEAL copy them into the next line's start, so neighbouring lines
// share bit-identical points and the outline never opens through rounding.
#include "model/model.h"

#include "space/camera.h"
#include "base/exact_math.h"

#include <cmath>
#include <cstdint>

namespace {

// Nearest integer, halves to even, in a range where the division below is defined.
int64_t roundedSum(float sum)
{
    constexpr double kLargest = 9.0e18;
    const double rounded = std::nearbyint(static_cast<double>(sum));
    if (std::isnan(rounded)) return 0;
    if (rounded > kLargest) return static_cast<int64_t>(kLargest);
    if (rounded < -kLargest) return static_cast<int64_t>(-kLargest);
    return static_cast<int64_t>(rounded);
}

} // namespace

void SEAL(Model& model)
{
    const size_t count = model.lines.size();
    // Both lists share one length; this keeps an unbalanced model from being read
    // out of bounds.
    if (model.transformed.size() != count) model.transformed.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t j = i + 1 == count ? 0 : i + 1; // no division per line: SEAL runs for every model every frame
        model.lines[j].start = model.lines[i].end;
        model.transformed[j].start = model.transformed[i].end;
        model.lines[j].texStart = model.lines[i].texEnd;
        model.transformed[j].texStart = model.transformed[i].texEnd;
    }
}

void TRANSFORM(Model& model, Vec2f /*position*/, float angle, float scale, const Camera& camera, bool /*force*/)
{
    // 1.0 exactly is the game's "follow the zoom"; any other scale is taken as given.
    const double s = scale == 1.0f ? camera.zoom : scale;
    // An asteroid's angle is never wrapped and grows as it spins: exact:: reduces any
    // finite angle exactly, so the turn is the same on every platform however far.
    const double c = exact::cos(static_cast<double>(angle));
    const double n = exact::sin(static_cast<double>(angle));
    if (model.transformed.size() != model.lines.size()) model.transformed.resize(model.lines.size());
    for (size_t i = 0; i < model.lines.size(); ++i) {
        const double x = model.lines[i].end.x;
        const double y = model.lines[i].end.y;
        model.transformed[i].end = {static_cast<float>((c * x - n * y) * s), static_cast<float>((c * y + n * x) * s)};
    }
    SEAL(model);
}

void CENTER(Model& model)
{
    if (model.lines.empty()) {
        model.centre = {0.0f, 0.0f};
        return;
    }
    Vec2f sum;
    for (const ModelLine& line : model.lines) {
        sum = sum + line.start;
        sum = sum + line.end;
    }
    const int64_t count = 2 * static_cast<int64_t>(model.lines.size());
    // Integer division truncates toward zero: a sum of -13 over 8 points gives -1.
    const Vec2f centre{static_cast<float>(roundedSum(sum.x) / count), static_cast<float>(roundedSum(sum.y) / count)};
    model.centre = centre;
    for (ModelLine& line : model.lines) {
        line.start = line.start - centre;
        line.end = line.end - centre;
    }
}
