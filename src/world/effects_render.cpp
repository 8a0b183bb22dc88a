// Drawing the live effects onto the locked screen, from the highest slot down, so
// that lower slots lie on top. Sparks, flames and ping markers sit at world points
// multiplied by the zoom; shield pieces were spawned in zoomed coordinates already.
#include "world/entity.h"

#include "space/camera.h"
#include "render/rotozoom.h"
#include "world/effects_rounding.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr uint16_t kSolid = 0xFFFF;
constexpr uint16_t kDashed = 0xCCCC; // two pixels on, two off
constexpr float kStreakLengthPerSpeed = 2.0f;
constexpr float kSpriteSizePerZoom = 20.0f;
constexpr float kArcHalfWidth = 0.5f; // radians either side of the ring's angle
constexpr float kDefaultAspect = 0.0f;
constexpr int kOutline = 0;

// Two pixels per unit of speed at any zoom. zoomed is the position times the zoom.
void drawStreak(Effect& effect, Vec2f zoomed, Vec2f offset)
{
    const float length = kStreakLengthPerSpeed * MAGNITUDE(effect.velocity);
    Vec2f direction = effect.velocity;
    NORMALIZE(direction);
    DRAW_LINE(nullptr, zoomed.x - offset.x, zoomed.y - offset.y, zoomed.x + length * direction.x - offset.x,
              zoomed.y + length * direction.y - offset.y, effect.colour.toPixel(), LINE_KIND_LINE, kSolid);
}

void drawSegment(Effect& effect, Vec2f offset)
{
    DRAW_LINE(nullptr, effect.position.x - offset.x, effect.position.y - offset.y, effect.secondPoint.x - offset.x,
              effect.secondPoint.y - offset.y, effect.colour.toPixel(), LINE_KIND_LINE, kDashed);
}

void drawSprite(const Effect& effect, Vec2f screen)
{
    // Unlike the lines' colours, the opacity is clamped for the call only.
    const int opacity = std::clamp(effect.colour.r, 0, 255);
    ROTOZOOM_BLEND(nullptr, effect.image, effects_rounding::nearest(screen.x), effects_rounding::nearest(screen.y),
                   effects_rounding::down(effect.angle), effect.size / kSpriteSizePerZoom, 0.0f, 0, opacity);
}

// Three arcs at one half, three quarters and all of the size, in screen pixels.
void drawRing(Effect& effect, Vec2f screen)
{
    if (effect.size == 0.0f) effect.size = 1.0f; // a new marker still shows
    const float size = effect.size;
    const float step = size / 4.0f;
    const uint32_t colour = effect.colour.toPixel();
    for (float radius = size / 2.0f; step < 0.0f ? radius >= size : radius <= size;) {
        DRAW_CIRCLE(nullptr, screen.x, screen.y, radius, colour, kDefaultAspect, effect.angle - kArcHalfWidth,
                    effect.angle + kArcHalfWidth, kOutline);
        const float next = radius + step;
        // A step too small to move the radius (a size below the smallest normal
        // float) or an infinite size would otherwise never leave the loop.
        if (next == radius) break;
        radius = next;
    }
}

} // namespace

void EffectSystem::RENDER(const Camera& camera)
{
    const float zoom = camera.zoom;
    const Vec2f offset = camera.position;
    for (size_t i = slots.size(); i-- > 0;) {
        Effect& effect = slots[i];
        if (!effect.active) continue;
        const Vec2f zoomed = effect.position * zoom;
        const Vec2f screen = zoomed - offset;
        switch (effect.kind) {
        case EFFECT_STREAK: drawStreak(effect, zoomed, offset); break;
        case EFFECT_SEGMENT: drawSegment(effect, offset); break;
        case EFFECT_SPRITE: drawSprite(effect, screen); break;
        case EFFECT_RING: drawRing(effect, screen); break;
        default: break;
        }
    }
}
