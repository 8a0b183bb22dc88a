// Drives ROTOZOOM, ROTOZOOM_ALPHA and ROTOZOOM_BLEND with arbitrary positions,
// angles, zooms, pivots, opacities and image sizes. Both images sit inside guard
// pixels: a changed destination guard is a write outside it, and the source guard's
// colour turning up in the destination is a read outside the source.
#include "fuzz_input.h"
#include "support/guarded_image.h"
#include "render/rotozoom.h"
#include "render/image.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kDestinationGuard = 0x5AC3A55Cu;
constexpr uint32_t kSourceGuard = 0x3C5AA5C3u;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const uint8_t which = in.take<uint8_t>();
    const int dstWidth = 1 + in.take<uint8_t>() % 80, dstHeight = 1 + in.take<uint8_t>() % 60;
    const int srcWidth = 1 + in.take<uint8_t>() % 40, srcHeight = 1 + in.take<uint8_t>() % 40;
    const int x = in.take<int32_t>(), y = in.take<int32_t>(), angle = in.take<int32_t>();
    const float zx = in.take<float>(), zy = in.take<float>();
    const int px = in.take<int32_t>(), py = in.take<int32_t>();
    const uint32_t transparent = in.take<uint32_t>();

    GuardedImage source(srcWidth, srcHeight, kSourceGuard);
    for (int row = 0; row < srcHeight; ++row) {
        for (int column = 0; column < srcWidth; ++column) {
            source.at(column, row) = 0xFF000000u | uint32_t(row << 8 | column);
        }
    }
    GuardedImage target(dstWidth, dstHeight, kDestinationGuard);
    target.fill(0xFF000000u);

    switch (which % 3) {
    case 0: ROTOZOOM(target.image(), source.image(), x, y, angle, zx, zy, transparent, px, py); break;
    case 1: ROTOZOOM_ALPHA(target.image(), source.image(), x, y, angle, zx, zy, transparent); break;
    default: ROTOZOOM_BLEND(target.image(), source.image(), x, y, angle, zx, zy, transparent, px); break;
    }
    if (!target.guardIntact() || !source.guardIntact()) std::abort();
    // A copied guard texel shows as itself; the blends share the same texel look-up.
    if (which % 3 == 0 && !target.pixelsFreeOf(kSourceGuard)) std::abort();
    return 0;
}
