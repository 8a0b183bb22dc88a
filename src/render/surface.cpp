// The drawing target behind an Image pointer: the image, or the framebuffer for null,
// which is nothing to draw on while its pixels are skipped.
#include "render/surface.h"

#include "render/framebuffer.h"
#include "render/image.h"

Surface surfaceOf(Image* target)
{
    if (target) {
        return {imagePixels(target), int(target->width), int(target->height), int(target->pitch)};
    }
    uint32_t* screen = framebufferPixels();
    if (!screen || screenPixelsSkipped()) return {};
    return {reinterpret_cast<uint8_t*>(screen), SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_PITCH};
}
