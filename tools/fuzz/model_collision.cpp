// Holds CHECK_MODEL_MODEL_COLLISION against the plain double loop over both outlines
// for arbitrary lines and positions: any difference in the line found or in the bits
// of the contact point aborts. Coordinates are raw floats or small multiples of a
// quarter, which make shared points, collinear edges and touching ends common.
#include "fuzz_input.h"
#include "model/model.h"
#include "support/plain_collision.h"

#include <bit>
#include <cstdint>
#include <cstdlib>

namespace {

float coordinate(FuzzInput& in)
{
    if (in.take<uint8_t>() & 1) return static_cast<float>(in.take<int8_t>()) / 4.0f;
    return in.take<float>();
}

Vec2f point(FuzzInput& in)
{
    const float x = coordinate(in);
    return {x, coordinate(in)};
}

// Up to 80 lines, past one window of b's lines; the ends are free, not a closed outline.
Model outline(FuzzInput& in)
{
    Model model;
    model.transformed.resize(in.take<uint8_t>() % 81);
    for (ModelLine& line : model.transformed) {
        line.start = point(in);
        line.end = point(in);
    }
    return model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const Vec2f aPosition = point(in);
    const Vec2f bPosition = point(in);
    const Model a = outline(in);
    const Model b = outline(in);
    const Vec2f preset = point(in);
    Vec2f expected = preset;
    Vec2f found = preset;
    const int plain = plainModelCollision(a, aPosition, b, bPosition, expected);
    if (CHECK_MODEL_MODEL_COLLISION(a, aPosition, b, bPosition, found) != plain) std::abort();
    if (std::bit_cast<uint64_t>(found) != std::bit_cast<uint64_t>(expected)) std::abort();
    return 0;
}
