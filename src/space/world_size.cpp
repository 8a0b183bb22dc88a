// The one definition of the program-wide world size, and random places in it. The
// size starts as one screen, the editor's world, so that code run before a program
// sets it still sees a sane world.
#include "space/world_size.h"

#include "platform/platform.h"

int WORLD_W = SCREEN_WIDTH;
int WORLD_H = SCREEN_HEIGHT;

Vec2f randomWorldPoint()
{
    const float y = static_cast<float>(RANDOM_UNIT() * WORLD_H);
    const float x = static_cast<float>(RANDOM_UNIT() * WORLD_W);
    return {x, y};
}
