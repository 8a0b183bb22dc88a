// Drawing the world. Models are fans of textured triangles around their centres at
// depth 1, so what is drawn first on a pixel stays (the filler keeps the nearer or
// first). Transformed outlines are already turned and zoomed; only the thing's place
// P = position * zoom - camera is added here.
#include "game/world_draw.h"

#include "space/camera.h"
#include "world/entity.h"
#include "game/game_images.h"
#include "platform/platform.h"
#include "render/triangles.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr uint32_t kPingRingColour = 0xFF646400;
constexpr uint32_t kSightColour = 0xFFFF0000;
constexpr float kWholeCircle = 6.2831859f; // a little over 2 pi: the circle closes
constexpr float kSightLength = 200.0f;     // pixels at any zoom
constexpr float kCrossArm = 5.0f;
constexpr float kSightRing = 5.0f;
constexpr int kModelBrightness = 8;
constexpr float kDepth = 1.0f;
constexpr float kShotHalfWidth = 1.4f; // world units
constexpr float kShotTexels = 16.0f;

void drawPingRing(const Player& player, const Camera& camera)
{
    if (player.pingState == 0) return;
    const Vec2f centre = player.pingOrigin * camera.zoom - camera.position;
    DRAW_CIRCLE(nullptr, centre.x, centre.y, player.pingRadius, kPingRingColour, 0.0f, 0.0f, kWholeCircle, 0);
}

// The sight runs from the nose to a target straight ahead, both world points placed
// on the screen like any other, so the line leaves the nose as drawn at every zoom and
// keeps its length on the screen.
void drawLaserSight(const Player& player, const Camera& camera)
{
    const Vec2f nose = noseOf(player, camera.zoom);
    const Vec2f target = nose + player.heading * (kSightLength / camera.zoom);
    const Vec2f from = nose * camera.zoom - camera.position;
    const Vec2f mark = target * camera.zoom - camera.position;
    DRAW_LINE(nullptr, from.x, from.y, mark.x, mark.y, kSightColour, LINE_KIND_LINE, player.laserLineStyle);
    DRAW_LINE(nullptr, mark.x - kCrossArm, mark.y, mark.x + kCrossArm, mark.y, kSightColour, LINE_KIND_LINE,
              LINE_STYLE_SOLID);
    DRAW_LINE(nullptr, mark.x, mark.y - kCrossArm, mark.x, mark.y + kCrossArm, kSightColour, LINE_KIND_LINE,
              LINE_STYLE_SOLID);
    DRAW_CIRCLE(nullptr, mark.x, mark.y, kSightRing, kSightColour, 0.0f, 0.0f, kWholeCircle, 0);
}

// Shield pieces are spawned in camera coordinates: zoomed, not yet moved by the camera.
void spawnShieldPieces(Player& player, const Camera& camera)
{
    if (!player.effects) return;
    const Vec2f place = player.position * camera.zoom;
    for (const ModelLine& line : player.model.transformed) {
        player.effects->SPAWN_SHIELD(line.start + place, line.end + place);
    }
}

// The glow rises as the next shot comes due; it has no upper bound, and the filler
// lets a brightness above 255 spill into the neighbouring colour bytes.
int shotGlow(const Player& player)
{
    const double glow = 255.0 - (double{player.nextShotTime} - TIMER_SECONDS()) * 255.0;
    if (!(glow > 0.0)) return 0;
    return static_cast<int>(std::nearbyint(std::min(glow, double{INT_MAX})));
}

void drawShot(const Shot& shot, const Camera& camera, int glow, const Image* texture)
{
    const Vec2f a = shot.previousPosition * camera.zoom - camera.position;
    const Vec2f b = shot.position * camera.zoom - camera.position;
    const Vec2f w = PERP(a, b) * (kShotHalfWidth * camera.zoom);
    const Vec2f aBack = a - w, bBack = b - w, bFront = b + w, aFront = a + w;
    const float t = kShotTexels;
    TFPCSPTRI_ORIG(nullptr, aBack.x, aBack.y, kDepth, 0.0f, 0.0f, bBack.x, bBack.y, kDepth, 0.0f, t, aFront.x,
                   aFront.y, kDepth, t, 0.0f, glow, texture);
    TFPCSPTRI_ORIG(nullptr, aFront.x, aFront.y, kDepth, t, 0.0f, bFront.x, bFront.y, kDepth, t, t, bBack.x, bBack.y,
                   kDepth, 0.0f, t, glow, texture);
}

// The rock texture is laid on in world units around the asteroid's own origin, so it
// turns with the outline.
void drawAsteroid(const Entity& asteroid, const Camera& camera, const Image* texture)
{
    const Model& model = asteroid.model;
    const Vec2f p = asteroid.position * camera.zoom - camera.position;
    // Most of a crowded field lies off screen: its triangles would only be clipped away.
    if (fanMissesTarget(model, p, SCREEN_WIDTH, SCREEN_HEIGHT)) return;
    const size_t count = std::min(model.lines.size(), model.transformed.size());
    for (size_t i = 0; i < count; ++i) {
        const Vec2f a = model.transformed[i].start + p;
        const Vec2f b = model.transformed[i].end + p;
        const Vec2f ta = model.lines[i].start;
        const Vec2f tb = model.lines[i].end;
        TFPCSPTRI_ORIG(nullptr, a.x, a.y, kDepth, ta.x, ta.y, b.x, b.y, kDepth, tb.x, tb.y, p.x, p.y, kDepth,
                       model.centre.x, model.centre.y, kModelBrightness, texture);
    }
}

} // namespace

void DRAW_WORLD(Player& player, const std::vector<Entity>& asteroids, const Camera& camera, EffectSystem& effects,
                const GameImages& images)
{
    effects.RENDER(camera);
    drawPingRing(player, camera);
    if (player.active) {
        if (player.flags & kLaserSightFlag) drawLaserSight(player, camera);
        if (player.flags & kShieldFlag) spawnShieldPieces(player, camera);
        DRAW_MODEL(player.model, player.position * camera.zoom - camera.position, kModelBrightness, images.ship,
                   false);
    }
    // Shots in flight outlive the ship that fired them.
    const int glow = shotGlow(player);
    for (const Shot& shot : player.shots) {
        if (shot.active) drawShot(shot, camera, glow, images.shot);
    }
    for (const Entity& asteroid : asteroids) {
        if (asteroid.active) drawAsteroid(asteroid, camera, images.rock);
    }
}
