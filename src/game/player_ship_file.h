// Which outline the player flies: the player's own ship, saved by the editor beside
// an installed game, when there is one that can be read whole; else the shipped one.
#pragma once

#include "model/model.h"

#include <string>

// A broken own ship (cut short, or one the game cannot fly: too few lines for the
// nose, tail and flames, or all its vertices in one point, which draws nothing) is
// said once on standard error and left as it is; the shipped one is then flown. A shipped ship that cannot be opened is LOAD's affair: it says
// "Could not load file!" and the game flies an empty outline.
void loadPlayerShip(Model& ship, const std::string& shippedShip, const std::string& ownShip);
