// The one definition of the program-wide world size. It starts as one screen, the
// editor's world, so that code run before a program sets it still sees a sane world.
#include "world.h"

#include "platform.h"

int WORLD_W = SCREEN_WIDTH;
int WORLD_H = SCREEN_HEIGHT;
