// The game's entry point: read the command line, find the data and read the
// settings, then start, play turns until the player quits, and shut down.
#include "game_command_line.h"
#include "game_options.h"
#include "game_session.h"
#include "screenshot.h"
#include "settings.h"
#include "ship_files.h"

#include <cstdio>

namespace {

int writeSettings(const Launch& launch)
{
    const std::string path = settingsPath(launch.environment);
    std::string error;
    if (!writeDefaultSettings(path, launch.commandLine.has(kForceOption.name), error)) {
        std::fprintf(stderr, "%s: %s\n", launch.program.c_str(), error.c_str());
        return 1;
    }
    std::printf("wrote the default settings to %s\n", path.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Launch launch;
    if (const std::optional<int> status = launchProgram(kGameProgram, argc, argv, launch)) return *status;
    if (launch.commandLine.has(kWriteSettingsOption.name)) return writeSettings(launch);

    PlaySession session;
    std::vector<std::string> warnings;
    session.settings = loadSettings(settingsPath(launch.environment), warnings);
    for (const std::string& warning : warnings) std::fprintf(stderr, "%s: %s\n", launch.program.c_str(), warning.c_str());
    std::optional<double> seed;
    std::string error;
    if (!applyGameOptions(launch.commandLine, session.settings, seed, error)) {
        std::fprintf(stderr, "%s: %s\n", launch.program.c_str(), error.c_str());
        return 2;
    }
    session.screenshotFolder = screenshotFolder(launch.environment);

    Game game;
    game.dataFolder = launch.data.path;
    game.ownShip = shipFiles(launch.data, launch.environment).own;
    if (!startPlaying(session, game, error, seed)) {
        std::fprintf(stderr, "game: %s\n", error.c_str());
        return 1;
    }
    while (playTurn(session, game)) {
    }
    endSession(session);
    endGame(game);
    return 0;
}
