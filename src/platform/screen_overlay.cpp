// The overlay is small (a line of text) while a frame is the whole screen, so the
// copy is a plain row copy and only the overlay's own rectangle is looked at.
#include "platform/screen_overlay.h"

#include "render/framebuffer.h"
#include "render/image.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr uint32_t kAlphaMask = 0xFF000000;

} // namespace

const uint32_t* composeOverlay(ScreenOverlay& overlay, const uint32_t* frame, int first, int last)
{
    overlay.shown.resize(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
    std::copy(frame + size_t(first) * SCREEN_WIDTH, frame + size_t(last + 1) * SCREEN_WIDTH,
              overlay.shown.begin() + std::ptrdiff_t(first) * SCREEN_WIDTH);
    const int top = std::max(overlay.y, 0);
    const int bottom = std::min(overlay.y + int(overlay.picture->height) - 1, SCREEN_HEIGHT - 1);
    const int left = std::max(overlay.x, 0);
    const int right = std::min(overlay.x + int(overlay.picture->width), SCREEN_WIDTH);
    for (int y = std::max(top, first); y <= std::min(bottom, last); ++y) {
        const uint32_t* source = imageRow(overlay.picture, uint32_t(y - overlay.y));
        uint32_t* row = overlay.shown.data() + size_t(y) * SCREEN_WIDTH;
        for (int x = left; x < right; ++x) {
            const uint32_t pixel = source[x - overlay.x];
            if (pixel & kAlphaMask) row[x] = pixel;
        }
    }
    return overlay.shown.data();
}
