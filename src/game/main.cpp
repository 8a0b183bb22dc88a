// The game's entry point: read the settings, start, play turns until the player
// quits, shut down.
#include "game_session.h"
#include "screenshot.h"
#include "settings.h"

#include <cstdio>

int main()
{
    const Environment environment = processEnvironment();
    PlaySession session;
    std::vector<std::string> warnings;
    session.settings = loadSettings(settingsPath(environment), warnings);
    for (const std::string& warning : warnings) std::fprintf(stderr, "game: %s\n", warning.c_str());
    session.screenshotFolder = screenshotFolder(environment);

    Game game;
    std::string error;
    if (!startPlaying(session, game, error)) {
        std::fprintf(stderr, "game: %s\n", error.c_str());
        return 1;
    }
    while (playTurn(session, game)) {
    }
    endSession(session);
    endGame(game);
    return 0;
}
