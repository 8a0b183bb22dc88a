// The rules that follow the keys each frame: the sonar sweep and its echoes, the
// battery's recharge from fuel, the flight of shots with their hits and scores, and
// the resolution of every asteroid struck this frame (by a shot or by the ship).
#pragma once

struct Game;

void sweepPing(Game& game);
void rechargeBattery(Game& game);
void flyShots(Game& game);
// Removes or splits each struck asteroid, with an explosion and its sound. Pieces
// appended by a split wait for the next frame.
void resolveHits(Game& game);
