// Drawing the background through the camera.
#include "background.h"

#include "camera.h"
#include "display.h"
#include "world.h"

#include <cmath>

namespace {

constexpr uint32_t kTransparentMagenta = 0xFFFF00FF;
constexpr int kUnrotated = 0;
constexpr float kSameZoomAcross = 0.0f;

} // namespace

void drawBackground(const Image* background, const Camera& camera)
{
    if (!background) return;
    // The world's centre in camera coordinates, minus the view's corner; nearest,
    // ties to even, like every conversion of the program's own.
    const float x = WORLD_W / 2.0f * camera.zoom - camera.position.x;
    const float y = WORLD_H / 2.0f * camera.zoom - camera.position.y;
    ROTOZOOM(nullptr, background, static_cast<int>(std::nearbyint(x)), static_cast<int>(std::nearbyint(y)),
             kUnrotated, camera.zoom, kSameZoomAcross, kTransparentMagenta, 0, 0);
}
