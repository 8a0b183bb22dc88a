// The ten keys of the game, read once a frame in a fixed order: zoom in and out,
// turn right and left, jump, shield, laser sight, sonar ping, thrust and fire. Keys
// marked as the ship's are ignored while it is dead.
#pragma once

struct Game;

void applyControls(Game& game);
