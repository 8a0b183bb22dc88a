// Everything of the world in front of the background: effects, sonar ring, laser
// sight, shield pieces, ship, shots and asteroids, in that order, onto the locked
// screen with a freshly cleared depth buffer. It also feeds the shield: while the
// shield is up every outline line of the ship spawns one shield piece per frame.
#pragma once

#include <vector>

struct Camera;
struct Entity;
struct EffectSystem;
struct GameImages;
struct Player;

void DRAW_WORLD(Player& player, const std::vector<Entity>& asteroids, const Camera& camera, EffectSystem& effects,
                const GameImages& images);
