// The ship built into the program: the outline the asset generator designs, as the
// generator writes it into the shipped model file, but beyond the reach of the editor
// and the player's own file. A challenge flies it, so that runs compare players.
#pragma once

#include "model/model.h"

#include <vector>

std::vector<ModelLine> builtinShipLines();
