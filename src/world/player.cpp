// The ship's frame step and its fuel and battery. The step never reads keys: the
// controls set thrust, angle and flags, and act on the hit flags set here. Arithmetic
// stays in float as the records hold it; only the heading is computed in double.
#include "world/entity.h"

#include "world/broad_collision.h"
#include "world/zoomed_collision.h"
#include "space/camera.h"
#include "platform/platform.h"
#include "space/world_size.h"
#include "base/exact_math.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr float kTopSpeed = 3.0f;       // units per 1/50 s: 150 units per second
constexpr float kMovesPerSecond = 50.0f;
constexpr double kRespawnDelay = 3.0;

void wrapAround(float& coordinate, int size)
{
    const float far = static_cast<float>(size);
    if (coordinate < 0.0f) coordinate = far;
    if (coordinate > far) coordinate = 0.0f;
}

void collide(Player& player, std::vector<Entity>& asteroids, float zoom)
{
    for (Entity& asteroid : asteroids) {
        if (!(asteroid.active && player.active)) continue;
        if (!broad_collision::nearEnough(asteroid.position, asteroid.model.radius, player.position,
                                         player.model.radius)) {
            continue;
        }
        Vec2f contact;
        if (modelsTouchAtZoom(player.model, player.position, asteroid.model, asteroid.position, zoom, contact) < 0) {
            continue;
        }
        if (player.flags & kShieldFlag) continue;
        player.hit = true;
        player.respawnTime = static_cast<float>(TIMER_SECONDS() + kRespawnDelay);
        asteroid.hit = true;
        // The asteroid explodes where it touched the ship, not where a shot once struck it.
        asteroid.hitPoint = contact;
    }
}

} // namespace

void UPDATE_PLAYER(Player& player, std::vector<Entity>& asteroids, float dt, const Camera& camera)
{
    player.velocity = player.velocity + player.thrustVector * (dt * player.thrustLevel);

    // The stored speed is the one from before the cap.
    player.speed = MAGNITUDE(player.velocity);
    if (player.speed > kTopSpeed) {
        NORMALIZE(player.velocity);
        player.velocity = player.velocity * kTopSpeed;
    }

    player.position = player.position + player.velocity * (kMovesPerSecond * dt);
    wrapAround(player.position.x, WORLD_W);
    wrapAround(player.position.y, WORLD_H);

    TRANSFORM(player.model, player.position, player.angle, 1.0f, camera, false);
    const double angle = player.angle;
    player.heading = {static_cast<float>(exact::sin(angle)), static_cast<float>(-exact::cos(angle))};

    collide(player, asteroids, camera.zoom);

    if ((player.flags & kShieldFlag) && TIMER_SECONDS() > player.shieldEndTime) player.flags &= ~kShieldFlag;

    if (player.flags & kLaserSightFlag) {
        // Turning the dash pattern by two bits a frame makes the sight's dashes crawl.
        const uint16_t style = player.laserLineStyle;
        player.laserLineStyle = static_cast<uint16_t>((style >> 2) | (style << 14));
        if (TIMER_SECONDS() > player.laserSightEndTime) player.flags &= ~kLaserSightFlag;
    }
}

void ADD_FUEL(Player& player, float amount)
{
    player.fuel = player.fuel + amount;
    if (player.fuel > player.maxFuel) player.fuel = player.maxFuel;
}

void SUBTRACT_FUEL(Player& player, float amount)
{
    player.fuel = player.fuel - amount;
    if (player.fuel < 0.0f) player.fuel = 0.0f;
}

void ADD_BATTERY(Player& player, float amount)
{
    player.battery = player.battery + amount;
    if (player.battery > player.maxBattery) player.battery = player.maxBattery;
}

void SUBTRACT_BATTERY(Player& player, float amount)
{
    player.battery = player.battery - amount;
    if (player.battery < 0.0f) player.battery = 0.0f;
}
