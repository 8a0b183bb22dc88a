// The game's entry point: start, run frames until Escape, shut down.
#include "game.h"

#include <cstdio>

int main()
{
    Game game;
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
