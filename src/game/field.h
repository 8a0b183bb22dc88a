// The asteroid field: building it for each level, the random outline of an asteroid,
// and the split of a struck asteroid into two fragments. Every random number is drawn
// in one fixed order, so one seed gives one field, point for point.
#pragma once

#include "world/entity.h"

#include <vector>

struct Camera;

// Raises the level, gives the ship a five-second shield, centres the view on it,
// grounds its shots and rebuilds the field with 20 * level + 1 asteroids, none within
// 25 units of the ship.
void NEW_LEVEL(Player& player, std::vector<Entity>& asteroids, Camera& camera, EffectSystem& effects);
// A new closed outline of countBase + 1 to countBase + countSpread points around the
// centre, radii radiusBase to radiusBase + radiusSpread - 1, with an outward dent of a
// quarter on about one point in 33.
void MAKE_ASTEROID_SHAPE(Entity& asteroid, int radiusBase, int radiusSpread, int countBase, int countSpread);
// Turns asteroid index into a fragment and appends a second one; both fly away from
// the hit point in a V. Neither is transformed until the next asteroid update. An
// index outside the array does nothing.
void SPLIT_ASTEROID(std::vector<Entity>& asteroids, int index, Vec2f hitPoint);
