// A runner source that uses what the runner does not link.
#include "editor/editor.h"
#include "game/game.h"
