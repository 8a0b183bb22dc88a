// The icon's PNG bytes are compiled in from packaging/icons (see src/CMakeLists.txt)
// and decoded by our own loader at start-up.
#include "app/window_icon.h"

#include "platform/platform.h"
#include "png/png.h"

extern const uint8_t kWindowIconPng[];
extern const size_t kWindowIconPng_SIZE;

void showWindowIcon()
{
    Image* icon = PNG_DECODE(kWindowIconPng, kWindowIconPng_SIZE, kPngImage);
    if (!icon) return;
    SCREEN_ICON(icon);
    PNG_FREE(icon);
}
