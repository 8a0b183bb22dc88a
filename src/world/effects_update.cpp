// One frame of every live effect: motion, growth, colour fade and the end test. The
// clock is read once per call, so every effect ends against the same time. Shield
// pieces and flames move in zoomed units, so their steps carry the camera's zoom.
#include "world/entity.h"

#include "space/camera.h"
#include "world/effects_rounding.h"
#include "platform/platform.h"

namespace {

constexpr float kStreakMovesPerSecond = 50.0f;
constexpr float kSegmentMovesPerSecond = 5.0f;

// Channels run freely past 0..255 here; drawing clamps them.
int32_t faded(int32_t channel, int32_t rate, float dt)
{
    return effects_rounding::nearest(static_cast<float>(channel) + dt * static_cast<float>(rate));
}

void fade(Effect& effect, float dt)
{
    effect.colour.r = faded(effect.colour.r, effect.colourRate.r, dt);
    effect.colour.g = faded(effect.colour.g, effect.colourRate.g, dt);
    effect.colour.b = faded(effect.colour.b, effect.colourRate.b, dt);
}

} // namespace

void EffectSystem::UPDATE(float dt, const Camera& camera)
{
    const double now = TIMER_SECONDS();
    const float zoom = camera.zoom;
    for (Effect& effect : slots) {
        if (!effect.active) continue;
        switch (effect.kind) {
        case EFFECT_STREAK:
            effect.position = effect.position + effect.velocity * (kStreakMovesPerSecond * dt);
            effect.velocity = effect.velocity + effect.velocity * (dt * effect.drag);
            fade(effect, dt);
            if (now > effect.expiryTime) effect.active = false;
            break;
        case EFFECT_SEGMENT: {
            const Vec2f step = effect.velocity * (kSegmentMovesPerSecond * dt) * zoom;
            effect.position = effect.position + step;
            effect.secondPoint = effect.secondPoint + step;
            effect.velocity = effect.velocity + effect.velocity * (dt * effect.drag) * zoom;
            fade(effect, dt);
            if (now > effect.expiryTime) effect.active = false;
            break;
        }
        case EFFECT_SPRITE:
            effect.position = effect.position + effect.velocity * dt * zoom;
            effect.velocity = effect.velocity + effect.velocity * (dt * effect.drag) * zoom;
            effect.size = effect.size + dt * effect.growth * zoom;
            fade(effect, dt);
            if (now > effect.expiryTime) effect.active = false;
            break;
        case EFFECT_RING:
            // A ring ends by size alone; its expiry time is never looked at.
            effect.size = effect.size + dt * effect.growth * zoom;
            if (effect.size > effect.maxSize) effect.active = false;
            break;
        default:
            break; // an unknown kind stays as it is, live for good
        }
    }
}
