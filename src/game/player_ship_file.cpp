// Choosing and loading the player's ship.
#include "game/player_ship_file.h"

#include "app/ship_files.h"
#include "game/rule_constants.h"

#include <algorithm>
#include <cstdio>

namespace {

// Why the game cannot fly this outline, or nothing when it can.
std::string flightProblem(const Model& ship)
{
    const std::vector<ModelLine>& lines = ship.lines;
    if (lines.size() < kShipLinesNeeded) {
        return "it has " + std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
               "; the game needs " + std::to_string(kShipLinesNeeded) + " for the nose, tail and flames";
    }
    const bool onePoint =
        std::all_of(lines.begin(), lines.end(), [&](const ModelLine& line) { return line.end == lines[0].end; });
    return onePoint ? "all its points lie in one place, so it is invisible" : "";
}

} // namespace

void loadPlayerShip(Model& ship, const std::string& shippedShip, const std::string& ownShip)
{
    const std::string chosen = shipToLoad({shippedShip, ownShip});
    if (chosen != shippedShip) {
        Model own;
        std::string problem;
        if (readWholeModelFile(own, chosen, problem)) problem = flightProblem(own);
        if (problem.empty()) {
            setModelLines(ship, std::move(own.lines));
            return;
        }
        std::fprintf(stderr, "game: your ship %s cannot be flown (%s); flying the shipped one\n", chosen.c_str(),
                     problem.c_str());
    }
    loadModelFile(ship, shippedShip);
}
