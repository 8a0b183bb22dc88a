// Start-up inside the session's held clock, so that the game's frame time starts at
// the game clock; loading time is then skipped like paused time.
#include "game_session.h"

bool startPlaying(PlaySession& session, Game& game, std::string& error, std::optional<double> seed)
{
    beginSession(session);
    if (!startGame(game, error, seed)) {
        endSession(session);
        return false;
    }
    game.camera.shakeStrength = session.settings.shake ? 1.0f : 0.0f;
    skipUnplayedTime(session);
    return true;
}

bool playTurn(PlaySession& session, Game& game)
{
    return stepSession(session, game.soundBank, [&game] { return runGameFrame(game); });
}
