// A renderer test that reaches above its layer, and names a header that is nowhere.
#include "render/image.h"
#include "game/game.h"
#include "fixture.h"
#include "support/x.h"
