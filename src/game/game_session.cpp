// Start-up inside the session's held clock, so that the game's frame time starts at
// the game clock; loading time is then skipped like paused time.
#include "game/game_session.h"

bool startPlaying(PlaySession& session, Game& game, std::string& error, std::optional<double> seed)
{
    beginSession(session);
    session.seed = seed.value_or(session.gameClock);
    if (!startGame(game, error, session.seed)) {
        endSession(session);
        return false;
    }
    game.camera.shakeStrength = session.settings.shake ? 1.0f : 0.0f;
    session.volumeSampleWave = game.sounds.zapWave;
    skipUnplayedTime(session);
    return true;
}

bool playTurn(PlaySession& session, Game& game)
{
    if (!session.fixedSteps || session.replay) {
        return stepSession(session, game.soundBank, [&game] { return runGameFrame(game); });
    }
    // Escape is the challenge's own to answer (it asks first), so a shown frame never ends the run.
    const SteppedFrame frame{[&game] { advanceGame(game); }, [] {
                                 restAfterFrame();
                                 return true;
                             }};
    return stepSession(session, game.soundBank, frame);
}

void startAtLevel(Game& game, int level)
{
    if (level <= 1) return;
    game.player.levelNumber = level - 1;
    game.levelCleared = true;
}

int levelAboutToPlay(const Game& game) { return game.player.levelNumber + (game.levelCleared ? 1 : 0); }
