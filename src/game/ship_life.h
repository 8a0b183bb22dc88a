// The ship's own rules after the weapons: the looping shield and thrust sounds, the
// thrust flames, death on a hit, the respawn three seconds later, and the camera
// following the living ship.
#pragma once

struct Game;
struct Player;

void updateShipSounds(Game& game);
void thrustFlames(Game& game);
void dieIfHit(Game& game);
void respawnWhenDue(Game& game);
void followShip(Game& game);
// Brings the ship back at a random place, at rest, under a fresh shield; fuel,
// battery, score, angle and thrust stay as they were.
void RESPAWN_PLAYER(Player& player, double now);
