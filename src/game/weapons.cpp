// Sonar, shots and hits. An echo is found and pinned to the border of what the screen
// shows in camera coordinates (world times zoom), then kept as a world point like
// everything the effects draw and the listener hears. A split may move the asteroid
// array, so asteroids are reached by index after any call that splits.
#include "game/weapons.h"

#include "game/field.h"
#include "game/game.h"
#include "platform/platform.h"
#include "game/rule_constants.h"
#include "world/zoomed_collision.h"
#include "base/exact_math.h"

#include <cmath>

namespace {

constexpr float kPingSweepSpeed = 400.0f; // pixels per second
constexpr float kShotSpeed = 500.0f;
constexpr int32_t kSplittableHitScore = 50;
constexpr int32_t kSolidHitScore = 150;
constexpr int32_t kFragmentRemovedScore = 25;
constexpr float kHitFuel = 10.0f;
constexpr float kHitBattery = 0.5f;
constexpr double kRechargeFuelShare = 10.0; // one unit of fuel buys ten of battery
constexpr float kRockBlastSpeed = 2.0f;
constexpr int32_t kRockBlastHighestParticle = 19;

// The marker shows where the screen edge is nearest to an asteroid off screen.
Vec2f pinToScreen(Vec2f marker, Vec2f camera)
{
    if (marker.x - camera.x < 0.0f) marker.x = camera.x;
    if (marker.y - camera.y < 0.0f) marker.y = camera.y;
    if (marker.x - camera.x > SCREEN_WIDTH) marker.x = camera.x + SCREEN_WIDTH;
    if (marker.y - camera.y > SCREEN_HEIGHT) marker.y = camera.y + SCREEN_HEIGHT;
    return marker;
}

// The marker and the PING RETURN sound both sit at the echo's world point.
void echo(Game& game, Vec2f marker)
{
    Player& player = game.player;
    const Vec2f origin = player.pingOrigin;
    const float angle = static_cast<float>(
        exact::atan2(double{marker.y} - origin.y, double{origin.x} - marker.x) + double{kFullTurn});
    if (player.effects) player.effects->SPAWN_PING(marker, angle, EFFECT_RING);
    playSoundAt(game.soundBank, game.sounds.pingReturn, marker);
}

// Tests the segment a shot covered this frame against every asteroid: the shot ends
// at its first hit, but its segment still hits and scores every asteroid it crosses.
void strike(Game& game, Shot& shot)
{
    Player& player = game.player;
    for (Entity& asteroid : game.asteroids) {
        if (!asteroid.active) continue;
        Vec2f hitPoint = asteroid.position;
        if (segmentTouchesAtZoom(shot.previousPosition, shot.position, asteroid.model, asteroid.position,
                                 game.camera.zoom, hitPoint) < 0) {
            continue;
        }
        shot.active = false;
        asteroid.hit = true;
        asteroid.hitPoint = hitPoint;
        player.score += asteroid.splittable ? kSplittableHitScore : kSolidHitScore;
        ADD_FUEL(player, kHitFuel);
        ADD_BATTERY(player, kHitBattery);
    }
}

} // namespace

void sweepPing(Game& game)
{
    Player& player = game.player;
    if (!(player.pingEndTime > game.frameTime && player.pingState != 0)) return;
    player.previousPingRadius = player.pingRadius;
    player.pingRadius = static_cast<float>(player.pingRadius + kPingSweepSpeed * game.dt);
    const float zoom = game.camera.zoom;
    const float inner = player.previousPingRadius * player.previousPingRadius;
    const float outer = player.pingRadius * player.pingRadius;
    for (size_t i = 0; i < game.asteroids.size(); ++i) {
        if (!game.asteroids[i].active) continue;
        const Vec2f p = game.asteroids[i].position * zoom;
        const float dx = p.x - zoom * player.pingOrigin.x;
        const float dy = p.y - zoom * player.pingOrigin.y;
        const float d2 = dx * dx + dy * dy;
        if (inner < d2 && d2 < outer) echo(game, pinToScreen(p, game.camera.position) / zoom);
    }
    if (player.pingRadius > player.maxPingRadius) player.pingState = 0;
}

void rechargeBattery(Game& game)
{
    Player& player = game.player;
    if (!(player.fuel > 0.0f)) return;
    player.battery = static_cast<float>(player.battery + game.dt);
    if (player.battery > player.maxBattery) {
        player.battery = player.maxBattery;
    } else {
        SUBTRACT_FUEL(player, static_cast<float>(game.dt / kRechargeFuelShare));
    }
}

void flyShots(Game& game)
{
    // The vector operators take a float: velocity times dt, then times the speed,
    // each step rounded to float.
    const float dt = static_cast<float>(game.dt);
    for (Shot& shot : game.player.shots) {
        if (shot.expiryTime < game.frameTime) shot.active = false;
        if (!shot.active) continue;
        shot.previousPosition = shot.position;
        shot.position = shot.position + shot.velocity * dt * kShotSpeed;
        strike(game, shot);
    }
}

void resolveHits(Game& game)
{
    std::vector<Entity>& asteroids = game.asteroids;
    const size_t count = asteroids.size(); // pieces appended below are not visited
    const float blastEnd = static_cast<float>(game.frameTime + kBlastSeconds);
    for (size_t i = 0; i < count; ++i) {
        if (!asteroids[i].hit) continue;
        asteroids[i].hit = false;
        const Vec2f hitPoint = asteroids[i].hitPoint;
        if (asteroids[i].fragment) {
            asteroids[i].active = false;
            game.player.score += kFragmentRemovedScore;
        } else if (asteroids[i].splittable) {
            SPLIT_ASTEROID(asteroids, static_cast<int>(i), hitPoint);
        } else {
            asteroids[i].active = false;
        }
        if (EffectSystem* effects = asteroids[i].effects) {
            effects->SPAWN_EXPLOSION(hitPoint, kRockBlastSpeed, kRockBlastHighestParticle, EFFECT_STREAK, blastEnd);
        }
        playSoundAt(game.soundBank, game.sounds.explode, hitPoint);
    }
}
