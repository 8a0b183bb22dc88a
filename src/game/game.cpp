// Start-up, frame and shut-down of the game. A frame builds the next level if the
// last one cleared the field, measures its time step, advances the world, applies the
// keys and the ship's rules, draws the picture while the screen is locked and shows
// it whole at the outermost unlock; Escape is read only after the frame has been shown.
#include "game/game.h"

#include "game/background.h"
#include "game/controls.h"
#include "platform/fbsound.h"
#include "game/field.h"
#include "game/hud.h"
#include "platform/platform.h"
#include "game/player_ship_file.h"
#include "game/ship_life.h"
#include "game/ship_reload.h"
#include "render/triangles.h"
#include "game/weapons.h"
#include "space/world_size.h"
#include "game/world_draw.h"

#include <cstdio>

namespace {

constexpr int kScreenDepth = 32;
constexpr int kScreenPages = 1;
constexpr int kRaisedPriorityFlag = 128;
constexpr int kDefaultRefreshRate = 0;
constexpr int kFrameSleepMs = 3;

// The first frames fly in from close up: the zoom eases from 10 (bounded to 4 by the
// camera's first update) down to 1.
constexpr float kStartZoom = 10.0f;
constexpr float kStartTargetZoom = 1.0f;
constexpr float kStartZoomSpeed = 10.0f;

constexpr int kHighestEffect = 1999; // 2000 slots
constexpr size_t kShots = 50;
constexpr float kStartPingRadius = 800.0f;
constexpr float kStartFuel = 100.0f;
constexpr float kStartBattery = 100.0f;
constexpr float kShipTurnRate = 3.0f; // radians per second while a turn key is held
constexpr float kShotInterval = 0.25f;

// The ship's starting values, at a random place.
void readyPlayer(Player& player, EffectSystem& effects)
{
    player.active = true;
    player.maxPingRadius = kStartPingRadius;
    player.fuel = player.maxFuel = kStartFuel;
    player.battery = player.maxBattery = kStartBattery;
    player.turnRate = kShipTurnRate;
    player.shotInterval = kShotInterval;
    player.effects = &effects;
    player.position = randomWorldPoint();
}

// The rules after the modules' updates, in the order that decides what a frame sees:
// a hit by a shot this frame is resolved at its end, after death and respawn.
void runShipRules(Game& game)
{
    applyControls(game);
    sweepPing(game);
    rechargeBattery(game);
    flyShots(game);
    updateShipSounds(game);
    thrustFlames(game);
    dieIfHit(game);
    respawnWhenDue(game);
    followShip(game);
    resolveHits(game);
}

} // namespace

bool startGame(Game& game, std::string& error, std::optional<double> seed)
{
    RANDOM_SEED(seed ? *seed : TIMER_SECONDS());
    SCREEN_TITLE("Space Game");
    if (SCREEN_OPEN(SCREEN_WIDTH, SCREEN_HEIGHT, kScreenDepth, kScreenPages, kRaisedPriorityFlag,
                    kDefaultRefreshRate) != 0) {
        error = "cannot open the 640 x 480 window: " + SCREEN_ERROR();
        return false;
    }
    if (!allocateDepthBuffer(SCREEN_WIDTH, SCREEN_HEIGHT)) {
        error = "not enough memory for the depth buffer";
        endGame(game);
        return false;
    }
    const bool audioOpen = SOUND_INIT(game.soundBank);
    if (!audioOpen) std::fprintf(stderr, "game: playing without sound: %s\n", FBS_ERROR().c_str());
    // Fresh records, so that a Game started again begins at level 1 too.
    game.player = Player{};
    game.camera = Camera{};
    game.effects.INIT(kHighestEffect);
    SHIELD_COUNTER = 0; // as in a fresh process, so a demo replays alike after another game
    game.asteroids.clear();
    game.levelCleared = false;
    if (!loadGameImages(game.images, game.dataFolder, error)) {
        endGame(game);
        return false;
    }
    game.sounds = loadGameSounds(game.soundBank, game.dataFolder, audioOpen);
    startShipSounds(game.soundBank, game.sounds, &game.player.position);
    const std::string shippedShip = game.dataFolder + "/model/Ship.mdata";
    // The file the editor saves to: the player's own ship whenever there is a place
    // for one, so its first save is flown too, not only later ones. Looked at before
    // it is read, so that a save made while it is read is flown as well.
    watchShipFile(game, game.ownShip.empty() ? shippedShip : game.ownShip);
    loadPlayerShip(game.player.model, shippedShip, game.ownShip);
    game.player.shots.assign(kShots, Shot{});
    readyPlayer(game.player, game.effects);
    game.camera.zoom = kStartZoom;
    game.camera.targetZoom = kStartTargetZoom;
    game.camera.zoomSpeed = kStartZoomSpeed;
    NEW_LEVEL(game.player, game.asteroids, game.camera, game.effects);
    MOUSE_SET(0, 0, 0, -1); // out of the way and hidden: the game is played with keys
    game.frameTime = TIMER_SECONDS();
    return true;
}

void advanceGame(Game& game)
{
    reloadShipWhenSaved(game);
    // Before the clock is read, so the time spent building belongs to this frame's step.
    if (game.levelCleared) {
        game.levelCleared = false;
        NEW_LEVEL(game.player, game.asteroids, game.camera, game.effects);
    }
    game.dt = TIMER_SECONDS() - game.frameTime;
    game.frameTime = TIMER_SECONDS();
    const float dt = static_cast<float>(game.dt);
    UPDATE_PLAYER(game.player, game.asteroids, dt, game.camera);
    UPDATE_ASTEROIDS(game.asteroids, dt, game.levelCleared, game.camera, game.asteroidGrid);
    game.effects.UPDATE(dt, game.camera);
    game.camera.UPDATE(dt);
    SOUND_UPDATE(game.soundBank);
    runShipRules(game);
    // The listener hears from the world point at the centre of the screen.
    SOUND_SET_LISTENER(game.soundBank, (game.camera.position + Camera::kHalfScreen) / game.camera.zoom);

    clearDepthBuffer();
    SCREEN_LOCK();
    SCREEN_CLEAR();
    drawBackground(game.images.background, game.camera);
    DRAW_WORLD(game.player, game.asteroids, game.camera, game.effects, game.images);
    drawHud(hudLine(game.player.score, game.player.fuel, game.player.battery));
    SCREEN_UNLOCK(-1, -1);
}

void restAfterFrame() { SLEEP_MS(kFrameSleepMs); }

bool runGameFrame(Game& game)
{
    SCREEN_LOCK();
    advanceGame(game);
    WAIT_VSYNC();
    SCREEN_UNLOCK(-1, -1);
    restAfterFrame();
    return !KEY_DOWN(scancode::ESCAPE);
}

void releaseGame(Game& game)
{
    freeGameImages(game.images);
    freeDepthBuffer();
    std::vector<Entity>().swap(game.asteroids);
    game.asteroidGrid = AsteroidGrid{};
    game.effects = EffectSystem{};
    // The player's model and shots go with it; its position, which the sound bank
    // still follows until it closes, stays where it is.
    game.player.model = Model{};
    std::vector<Shot>().swap(game.player.shots);
    SOUND_CLOSE(game.soundBank);
}

void endGame(Game& game)
{
    releaseGame(game);
    SCREEN_CLOSE();
}
