// Holds fanMissesTarget against drawing: a fan of arbitrary lines around an arbitrary
// origin that it judges off the target must change no pixel of it when every triangle
// is drawn as the world drawing draws them.
#include "fuzz_input.h"
#include "support/guarded_image.h"
#include "render/image.h"
#include "model/model.h"
#include "render/triangles.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr uint32_t kTexel = 0xFF102030u;
constexpr int kBrightness = 8;
constexpr uint32_t kDrawn = 0xFF182838u; // the texel brightened by 8

float coordinate(FuzzInput& in)
{
    if (in.take<uint8_t>() & 1) return static_cast<float>(in.take<int16_t>()) / 64.0f;
    return in.take<float>();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int width = 1 + in.take<uint8_t>() % 96, height = 1 + in.take<uint8_t>() % 64;
    Vec2f origin;
    origin.x = coordinate(in);
    origin.y = coordinate(in);
    Model fan;
    fan.lines.resize(in.take<uint8_t>() % 17);
    fan.transformed.resize(fan.lines.size());
    for (ModelLine& line : fan.transformed) {
        line.start.x = coordinate(in);
        line.start.y = coordinate(in);
        line.end.x = coordinate(in);
        line.end.y = coordinate(in);
    }
    if (!fanMissesTarget(fan, origin, width, height)) return 0;

    GuardedImage target(width, height, 0xA5A5A5A5u);
    target.fill(0);
    Image* texture = createImage(8, 8);
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 8; ++x) imageRow(texture, y)[x] = kTexel;
    }
    if (!allocateDepthBuffer(width, height)) std::abort();
    for (const ModelLine& line : fan.transformed) {
        const Vec2f a = line.start + origin;
        const Vec2f b = line.end + origin;
        TFPCSPTRI_ORIG(target.image(), a.x, a.y, 1.0f, 0, 0, b.x, b.y, 1.0f, 7, 0, origin.x, origin.y, 1.0f, 0, 7,
                       kBrightness, texture);
    }
    if (!target.pixelsFreeOf(kDrawn) || !target.guardIntact()) std::abort();
    freeDepthBuffer();
    destroyImage(texture);
    return 0;
}
