// Start-up, frame and shut-down of the game. A frame measures its time step, draws
// the picture while the screen is locked and shows it whole at the unlock; Escape
// is read only after the frame has been shown.
#include "game.h"

#include "background.h"
#include "fbsound.h"
#include "hud.h"
#include "platform.h"
#include "triangles.h"
#include "world.h"

#include <cstdio>

namespace {

constexpr int kScreenDepth = 32;
constexpr int kScreenPages = 1;
constexpr int kRaisedPriorityFlag = 128;
constexpr int kDefaultRefreshRate = 0;
constexpr int kFrameSleepMs = 3;
// The listener hears from the world point at the centre of the screen.
const Vec2f kHalfScreen{SCREEN_WIDTH / 2.0f, SCREEN_HEIGHT / 2.0f};

// The first frames fly in from close up: the zoom eases from 10 (bounded to 4 by the
// camera's first update) down to 1.
constexpr float kStartZoom = 10.0f;
constexpr float kStartTargetZoom = 1.0f;
constexpr float kStartZoomSpeed = 10.0f;

} // namespace

bool startGame(Game& game, std::string& error)
{
    RANDOM_SEED(TIMER_SECONDS());
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
    if (!loadGameImages(game.images, error)) {
        endGame(game);
        return false;
    }
    game.sounds = loadGameSounds(game.soundBank, audioOpen);
    startShipSounds(game.soundBank, game.sounds, &game.shipPosition);
    // A missing ship file has already said "Could not load file!"; the game flies the
    // empty outline rather than stop.
    LOAD(game.shipModel, "Ship.mdata");
    game.camera.zoom = kStartZoom;
    game.camera.targetZoom = kStartTargetZoom;
    game.camera.zoomSpeed = kStartZoomSpeed;
    const float shipY = static_cast<float>(RANDOM_UNIT() * WORLD_H); // y is drawn first
    game.shipPosition = {static_cast<float>(RANDOM_UNIT() * WORLD_W), shipY};
    MOUSE_SET(0, 0, 0, -1); // out of the way and hidden: the game is played with keys
    game.frameTime = TIMER_SECONDS();
    return true;
}

bool runGameFrame(Game& game)
{
    game.dt = TIMER_SECONDS() - game.frameTime;
    game.frameTime = TIMER_SECONDS();
    game.camera.UPDATE(static_cast<float>(game.dt));
    SOUND_UPDATE(game.soundBank);
    SOUND_SET_LISTENER(game.soundBank, (game.camera.position + kHalfScreen) / game.camera.zoom);

    clearDepthBuffer();
    SCREEN_LOCK();
    SCREEN_CLEAR();
    drawBackground(game.images.background, game.camera);
    drawHud(hudLine(game.score, game.fuel, game.battery));
    WAIT_VSYNC();
    SCREEN_UNLOCK(-1, -1);

    SLEEP_MS(kFrameSleepMs);
    return !KEY_DOWN(scancode::ESCAPE);
}

void endGame(Game& game)
{
    freeGameImages(game.images);
    freeDepthBuffer();
    SOUND_CLOSE(game.soundBank);
    SCREEN_CLOSE();
}
