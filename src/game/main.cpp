// The game's entry point: read the command line and find the data, then start, run
// frames until Escape, and shut down.
#include "game.h"
#include "game_command_line.h"
#include "ship_files.h"

#include <cstdio>

int main(int argc, char** argv)
{
    Launch launch;
    if (const std::optional<int> status = launchProgram(kGameProgram, argc, argv, launch)) return *status;
    Game game;
    game.dataFolder = launch.data.path;
    game.ownShip = shipFiles(launch.data, launch.environment).own;
    std::string error;
    if (!startGame(game, error)) {
        std::fprintf(stderr, "game: %s\n", error.c_str());
        return 1;
    }
    while (runGameFrame(game)) {
    }
    endGame(game);
    return 0;
}
