// Sounds, flames, death and respawn of the ship. THRUST and SHIELD loop from start-up
// on, so here they are only paused and resumed. The flames need the ship's outline
// lines 1 to 3; a ship without them (its model file missing) simply shows none.
#include "game/ship_life.h"

#include "game/game.h"
#include "platform/platform.h"
#include "game/rule_constants.h"
#include "space/world_size.h"

namespace {

constexpr float kFlameSpeed = 50.0f;
constexpr double kFlameSeconds = 0.5;
constexpr float kShipBlastSpeed = 10.0f;
constexpr int32_t kShipBlastHighestParticle = 40;
constexpr float kDeathShake = 5.0f;
constexpr float kDeathShakeSeconds = 2.0f;
constexpr double kRespawnShieldSeconds = 5.0;

} // namespace

void updateShipSounds(Game& game)
{
    const Player& player = game.player;
    const bool shielded = player.active && (player.flags & kShieldFlag);
    pauseShipSound(game.soundBank, game.sounds.shield, !shielded);
}

void thrustFlames(Game& game)
{
    Player& player = game.player;
    if (!(player.thrustLevel > 0.0f && player.active)) {
        pauseShipSound(game.soundBank, game.sounds.thrust, true);
        return;
    }
    const std::vector<ModelLine>& lines = player.model.transformed;
    if (lines.size() >= kShipLinesNeeded && player.effects) {
        Vec2f back = player.heading * -1.0f;
        NORMALIZE(back);
        const float zoom = game.camera.zoom;
        player.effects->SPAWN_THRUST(outlinePointInWorld(player, lines[2].start, zoom),
                                     outlinePointInWorld(player, lines[1].start, zoom),
                                     outlinePointInWorld(player, lines[3].start, zoom), back * kFlameSpeed,
                                     game.images.flame, static_cast<float>(game.frameTime + kFlameSeconds));
    }
    pauseShipSound(game.soundBank, game.sounds.thrust, false);
}

void dieIfHit(Game& game)
{
    Player& player = game.player;
    if (!player.hit) return;
    player.active = false;
    player.hit = false;
    if (player.effects) {
        player.effects->SPAWN_EXPLOSION(player.position, kShipBlastSpeed, kShipBlastHighestParticle, EFFECT_STREAK,
                                        static_cast<float>(game.frameTime + kBlastSeconds));
    }
    playSoundAt(game.soundBank, game.sounds.explode, player.position);
    pauseShipSound(game.soundBank, game.sounds.thrust, true);
    game.camera.SHAKE(kDeathShake, kDeathShakeSeconds);
}

void respawnWhenDue(Game& game)
{
    Player& player = game.player;
    if (!(player.respawnTime < game.frameTime && !player.active)) return;
    player.active = true;
    RESPAWN_PLAYER(player, game.frameTime);
}

void followShip(Game& game)
{
    if (game.player.active) game.camera.target = cornerCentredOn(game.player.position, game.camera.zoom);
}

void RESPAWN_PLAYER(Player& player, double now)
{
    player.active = true;
    player.position = randomWorldPoint();
    player.velocity = {0.0f, 0.0f};
    player.shieldEndTime = static_cast<float>(now + kRespawnShieldSeconds);
    player.flags |= kShieldFlag;
}
