// Camera easing, bounding and shake. Everything is single precision; the two random
// draws of a shake come in a fixed order (y's number first) so that a seeded run
// replays the same view.
#include "space/camera.h"

#include "platform/platform.h"
#include "space/world_size.h"

namespace {

// Largest position that still keeps the screen inside the magnified world. Negative
// when the world is narrower than the screen at this zoom.
Vec2f largestPosition(float zoom)
{
    return {static_cast<float>(WORLD_W) * zoom - static_cast<float>(SCREEN_WIDTH),
            static_cast<float>(WORLD_H) * zoom - static_cast<float>(SCREEN_HEIGHT)};
}

} // namespace

void Camera::UPDATE(float dt)
{
    position = position + (target - position) * dt * followRate;
    zoom = zoom + (targetZoom - zoom) * dt * zoomSpeed;
    if (zoom < kMinZoom) zoom = kMinZoom;
    if (zoom > kMaxZoom) zoom = kMaxZoom;
    centre = position + Camera::kHalfScreen;

    // The upper bound is applied last, so a world smaller than the screen pins the
    // view to a negative position rather than to 0.
    const Vec2f maxPosition = largestPosition(zoom);
    if (position.x < 0.0f) position.x = 0.0f;
    if (position.y < 0.0f) position.y = 0.0f;
    if (position.x > maxPosition.x) position.x = maxPosition.x;
    if (position.y > maxPosition.y) position.y = maxPosition.y;

    // Arguments are ignored by a running shake; this only adds its next displacement.
    if (shaking) SHAKE(shakeAmplitude, shakeEndTime);
}

void Camera::SHAKE(float amplitude, float duration)
{
    if (!shaking) {
        shaking = true;
        shakeEndTime = static_cast<float>(TIMER_SECONDS() + duration);
        shakeAmplitude = amplitude * shakeStrength;
    }
    const double a = shakeAmplitude;
    const double forY = RANDOM_UNIT();
    const double forX = RANDOM_UNIT();
    // The displacement stays in the position; following eases the view back.
    position = position + Vec2f(static_cast<float>(forX * a * 2.0 - a), static_cast<float>(forY * a * 2.0 - a));
    if (TIMER_SECONDS() > shakeEndTime) shaking = false;
}
