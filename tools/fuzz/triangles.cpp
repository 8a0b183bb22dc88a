// Drives FTRI and TFPCSPTRI_ORIG with arbitrary floats, brightness, target and texture
// sizes. Guard pixels around the target abort on any write outside it. ASan catches any
// access past the exact-size depth buffer or past the texture's block, but not reads
// in its row padding, which createImage adds and the masks of a texture that breaks the
// power-of-two contract may reach (a wrong texel, not a fault).
#include "fuzz_input.h"
#include "support/guarded_image.h"
#include "render/image.h"
#include "render/triangles.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int width = 1 + in.take<uint8_t>() % 96, height = 1 + in.take<uint8_t>() % 64;
    // Depth buffers of the target's width, some with fewer rows than the target.
    const int depthRows = 1 + in.take<uint8_t>() % 80;
    // Any size: the filler must stay inside textures that break its power-of-two
    // contract too (wrong texels are allowed there, stray reads are not).
    const uint32_t textureWidth = 1u + in.take<uint8_t>() % 72, textureHeight = 1u + in.take<uint8_t>() % 72;
    float v[15];
    for (float& value : v) value = in.take<float>();
    const int brightness = in.take<int32_t>();
    const uint32_t colour = in.take<uint32_t>();

    GuardedImage target(width, height, 0xA5A5A5A5u);
    Image* texture = createImage(textureWidth, textureHeight);
    for (uint32_t y = 0; y < textureHeight; ++y) {
        for (uint32_t x = 0; x < textureWidth; ++x) imageRow(texture, y)[x] = 0xFF000000u | (y << 8) | x;
    }
    if (!allocateDepthBuffer(width, depthRows)) std::abort();

    FTRI(target.image(), v[0], v[1], v[2], v[5], v[6], v[7], v[10], v[11], v[12], colour);
    TFPCSPTRI_ORIG(target.image(), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12],
                   v[13], v[14], brightness, texture);
    clearDepthBuffer();
    TFPCSPTRI_ORIG(target.image(), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12],
                   v[13], v[14], brightness, texture);
    if (!target.guardIntact()) std::abort();

    freeDepthBuffer();
    destroyImage(texture);
    return 0;
}
