// Drawing the background through the camera: the picture is the whole world, so its
// centre goes where the world's centre lies on the screen, magnified by the zoom.
#include "game/background.h"

#include "space/camera.h"
#include "render/rotozoom.h"
#include "space/world_size.h"

#include <cmath>

namespace {

constexpr uint32_t kTransparentMagenta = 0xFFFF00FF;
constexpr int kUnrotated = 0;
constexpr float kSameZoomAcross = 0.0f;
constexpr float kFarOffScreen = 1e9f; // well inside an int, far outside any screen

} // namespace

void drawBackground(const Image* background, const Camera& camera)
{
    if (!background) return;
    // The world's centre in camera coordinates, minus the view's corner.
    const float x = WORLD_W / 2.0f * camera.zoom - camera.position.x;
    const float y = WORLD_H / 2.0f * camera.zoom - camera.position.y;
    // So far away (or not a number) that it could not be an int: nothing to see.
    if (!(std::fabs(x) < kFarOffScreen && std::fabs(y) < kFarOffScreen)) return;
    // Nearest, ties to even, like every conversion of the program's own.
    ROTOZOOM(nullptr, background, static_cast<int>(std::nearbyint(x)), static_cast<int>(std::nearbyint(y)),
             kUnrotated, camera.zoom, kSameZoomAcross, kTransparentMagenta, 0, 0);
}
