// Choosing and loading the player's ship.
#include "game/player_ship_file.h"

#include "app/ship_files.h"

#include <cstdio>

void loadPlayerShip(Model& ship, const std::string& shippedShip, const std::string& ownShip)
{
    const std::string chosen = shipToLoad({shippedShip, ownShip});
    if (chosen != shippedShip) {
        std::string problem;
        if (readWholeModelFile(ship, chosen, problem)) return;
        std::fprintf(stderr, "game: your ship %s cannot be flown (%s); flying the shipped one\n", chosen.c_str(),
                     problem.c_str());
    }
    loadModelFile(ship, shippedShip);
}
