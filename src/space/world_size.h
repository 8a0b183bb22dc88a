// The size of the world in world units, shared by everything that wraps or bounds
// positions: the ship and asteroid updates and the camera. The main program sets it
// once at start-up (the game from its background image, the editor to one screen)
// before the first update; world_size.cpp holds the only definition.
#pragma once

#include "space/vec2f.h"

extern int WORLD_W;
extern int WORLD_H;

// A uniformly random place in the world. Its y coordinate's number is drawn first:
// one seed must give the same places wherever they are drawn.
Vec2f randomWorldPoint();
