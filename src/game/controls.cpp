// The key actions. Each key is read at the moment its rule runs, so the order below
// is the order in which a frame sees them. Times are compared with the frame time;
// costs scale with the frame's step, so holding a key costs the same per second at
// any frame rate (renewals excepted: they cost one step's worth each time).
#include "game/controls.h"

#include "game/game.h"
#include "platform/platform.h"
#include "game/rule_constants.h"
#include "space/world_size.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kShieldBatteryNeeded = 25.0f;
constexpr double kShieldSeconds = 1.0;
constexpr double kShieldCostPerStep = 1000.0;
constexpr float kSightBatteryNeeded = 10.0f;
constexpr double kSightSeconds = 10.0;
constexpr double kSightCostPerStep = 100.0;
constexpr double kPingLimitSeconds = 10.0;
constexpr double kPingCostPerStep = 200.0;
constexpr double kThrustRise = 3.0; // thrust level per second
constexpr float kThrustCap = 100.0f;
constexpr float kThrustSteer = 10.0f;
constexpr double kShotLife = 2.0;
constexpr double kShotCostPerStep = 100.0;
constexpr float kRapidFireDivisor = 10.0f;

bool held(int scanCode) { return KEY_DOWN(scanCode) != 0; }

// A manual zoom applies at once and keeps the ship in the middle of the view. It is
// bounded at once too: this frame is drawn, and the next one's outlines made, before
// the camera's update would bound it, and a zoom of 0 or below turns the world over.
void zoomBy(Game& game, double change)
{
    Camera& camera = game.camera;
    camera.zoom = std::clamp(static_cast<float>(camera.zoom + change), Camera::kMinZoom, Camera::kMaxZoom);
    camera.position = cornerCentredOn(game.player.position, camera.zoom);
    camera.target = camera.position;
    camera.targetZoom = camera.zoom;
}

void turn(Player& player, double dt, double direction)
{
    if (!(player.fuel > 0.0f)) return;
    player.angle = static_cast<float>(player.angle + direction * dt * player.turnRate);
    if (direction > 0.0 && player.angle > kFullTurn) player.angle = player.angle - kFullTurn;
    if (direction < 0.0 && player.angle < 0.0f) player.angle = player.angle + kFullTurn;
}

void jump(Player& player)
{
    player.position = randomWorldPoint();
}

void raiseShield(Player& player, double now, double dt)
{
    if (!(player.battery > kShieldBatteryNeeded && player.shieldEndTime < now)) return;
    player.shieldEndTime = static_cast<float>(now + kShieldSeconds);
    player.flags |= kShieldFlag;
    SUBTRACT_BATTERY(player, static_cast<float>(kShieldCostPerStep * dt));
}

void raiseLaserSight(Player& player, double now, double dt)
{
    if (!(player.battery > kSightBatteryNeeded && player.laserSightEndTime < now)) return;
    player.laserSightEndTime = static_cast<float>(now + kSightSeconds);
    player.flags |= kLaserSightFlag;
    SUBTRACT_BATTERY(player, static_cast<float>(kSightCostPerStep * dt));
}

// The sweep itself grows in the weapon rules; a ping costs battery but needs none.
void sendPing(Game& game)
{
    Player& player = game.player;
    player.pingOrigin = player.position;
    player.pingState = -1;
    player.pingEndTime = static_cast<float>(game.frameTime + kPingLimitSeconds);
    player.pingRadius = 0.0f;
    SUBTRACT_BATTERY(player, static_cast<float>(kPingCostPerStep * game.dt));
    playSoundAt(game.soundBank, game.sounds.ping, player.position);
}

// The thrust vector is replaced, not accumulated: it eases towards the heading.
void thrust(Player& player, bool on, double dt)
{
    if (!(on && player.fuel > 0.0f)) {
        player.thrustLevel = 0.0f;
        return;
    }
    SUBTRACT_FUEL(player, static_cast<float>(dt));
    player.thrustLevel = std::min(static_cast<float>(player.thrustLevel + kThrustRise * dt), kThrustCap);
    // Times dt, then times the factor, each as a float step.
    player.thrustVector = (player.heading - player.thrustVector) * static_cast<float>(dt) * kThrustSteer;
}

// The trigger keeps its rhythm even when the battery is too low for a shot to leave.
void fire(Game& game)
{
    Player& player = game.player;
    const double now = game.frameTime;
    if (!(player.nextShotTime < now)) return;
    const float interval =
        (player.flags & kRapidFireFlag) ? player.shotInterval / kRapidFireDivisor : player.shotInterval;
    player.nextShotTime = static_cast<float>(now + interval);
    if (!(std::floor(player.battery) > 0.0f) || player.shots.empty()) return;
    player.shotIndex = player.shotIndex + 1;
    if (player.shotIndex < 0 || static_cast<size_t>(player.shotIndex) >= player.shots.size()) player.shotIndex = 0;
    Shot& shot = player.shots[static_cast<size_t>(player.shotIndex)];
    shot.expiryTime = static_cast<float>(now + kShotLife);
    shot.position = noseOf(player, game.camera.zoom);
    shot.velocity = player.heading;
    shot.active = true;
    playSoundAt(game.soundBank, game.sounds.zap, player.position);
    SUBTRACT_BATTERY(player, static_cast<float>(kShotCostPerStep * game.dt));
}

} // namespace

void applyControls(Game& game)
{
    Player& player = game.player;
    const double now = game.frameTime;
    const double dt = game.dt;
    if (held(scancode::PAGE_UP)) zoomBy(game, dt);
    if (held(scancode::PAGE_DOWN)) zoomBy(game, -dt);
    if (held(scancode::RIGHT) && player.active) turn(player, dt, 1.0);
    if (held(scancode::LEFT) && player.active) turn(player, dt, -1.0);
    if (held(scancode::DOWN) && player.active) jump(player);
    if (held(scancode::S) && player.active) raiseShield(player, now, dt);
    if (held(scancode::A)) raiseLaserSight(player, now, dt);
    if (held(scancode::SPACE) && player.active && player.pingState != -1) sendPing(game);
    thrust(player, held(scancode::UP) && player.active, dt);
    if (held(scancode::W) && player.active) fire(game);
}
