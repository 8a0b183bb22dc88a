// The drawing target behind an Image pointer: the image, or the framebuffer for null.
#include "render/surface.h"

#include "render/framebuffer.h"
#include "render/image.h"

Surface surfaceOf(Image* target)
{
    if (target) {
        return {imagePixels(target), int(target->width), int(target->height), int(target->pitch)};
    }
    uint32_t* screen = framebufferPixels();
    if (!screen) return {};
    return {reinterpret_cast<uint8_t*>(screen), SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_PITCH};
}
