// An overlay is small (a line of text) while a frame is the whole screen, so the
// copy is a plain row copy and only each overlay's own rectangle is looked at.
#include "platform/screen_overlay.h"

#include "render/framebuffer.h"
#include "render/image.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr uint32_t kAlphaMask = 0xFF000000;

void layPicture(const OverlayPicture& layer, std::vector<uint32_t>& shown, int first, int last)
{
    const Image& picture = *layer.picture;
    const int top = std::max(layer.y, 0);
    const int bottom = std::min(layer.y + int(picture.height) - 1, SCREEN_HEIGHT - 1);
    const int left = std::max(layer.x, 0);
    const int right = std::min(layer.x + int(picture.width), SCREEN_WIDTH);
    for (int y = std::max(top, first); y <= std::min(bottom, last); ++y) {
        const uint32_t* source = imageRow(&picture, uint32_t(y - layer.y));
        uint32_t* row = shown.data() + size_t(y) * SCREEN_WIDTH;
        for (int x = left; x < right; ++x) {
            const uint32_t pixel = source[x - layer.x];
            if (pixel & kAlphaMask) row[x] = pixel;
        }
    }
}

} // namespace

bool anyOverlay(const ScreenOverlay& overlay)
{
    return std::any_of(overlay.layers.begin(), overlay.layers.end(),
                       [](const OverlayPicture& layer) { return layer.picture != nullptr; });
}

const uint32_t* composeOverlay(ScreenOverlay& overlay, const uint32_t* frame, int first, int last)
{
    overlay.shown.resize(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
    std::copy(frame + size_t(first) * SCREEN_WIDTH, frame + size_t(last + 1) * SCREEN_WIDTH,
              overlay.shown.begin() + std::ptrdiff_t(first) * SCREEN_WIDTH);
    for (const OverlayPicture& layer : overlay.layers) {
        if (layer.picture) layPicture(layer, overlay.shown, first, last);
    }
    return overlay.shown.data();
}
