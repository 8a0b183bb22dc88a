// Start-up, frame and shut-down of the game. A frame measures its time step, draws
// the picture while the screen is locked and shows it whole at the unlock; Escape
// is read only after the frame has been shown.
#include "game.h"

#include "hud.h"
#include "platform.h"

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

} // namespace

bool startGame(Game& game, std::string& error)
{
    RANDOM_SEED(TIMER_SECONDS());
    SCREEN_TITLE("Space Game");
    if (SCREEN_OPEN(SCREEN_WIDTH, SCREEN_HEIGHT, kScreenDepth, kScreenPages, kRaisedPriorityFlag,
                    kDefaultRefreshRate) != 0) {
        error = SCREEN_ERROR();
        return false;
    }
    // A missing ship file has already said "Could not load file!"; the game flies the
    // empty outline rather than stop.
    LOAD(game.shipModel, "Ship.mdata");
    game.camera.zoom = kStartZoom;
    game.camera.targetZoom = kStartTargetZoom;
    game.camera.zoomSpeed = kStartZoomSpeed;
    MOUSE_SET(0, 0, 0, -1); // out of the way and hidden: the game is played with keys
    game.frameTime = TIMER_SECONDS();
    return true;
}

bool runGameFrame(Game& game)
{
    game.dt = TIMER_SECONDS() - game.frameTime;
    game.frameTime = TIMER_SECONDS();
    game.camera.UPDATE(static_cast<float>(game.dt));

    SCREEN_LOCK();
    SCREEN_CLEAR();
    drawHud(hudLine(game.score, game.fuel, game.battery));
    WAIT_VSYNC();
    SCREEN_UNLOCK(-1, -1);

    SLEEP_MS(kFrameSleepMs);
    return !KEY_DOWN(scancode::ESCAPE);
}

void endGame(Game& /*game*/) { SCREEN_CLOSE(); }
