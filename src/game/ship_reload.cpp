// The outline is replaced before the frame's ship update, which transforms it, so
// the first frame that flies the new outline also draws and tests it whole.
#include "game/ship_reload.h"

#include "game/game.h"
#include "platform/platform.h"

#include <cstdio>

void watchShipFile(Game& game, const std::string& path) { game.shipWatch = FileWatch(path, TIMER_SECONDS()); }

void stopWatchingShipFile(Game& game) { game.shipWatch = FileWatch(); }

void reloadShipWhenSaved(Game& game)
{
    if (!game.shipWatch.changed(game.frameTime)) return;
    // The reader swaps the lines in only once the whole file was read, and refuses a
    // file cut short, as one being written in place by some other program may be.
    const std::string& path = game.shipWatch.path();
    if (std::string problem; !readWholeModelFile(game.player.model, path, problem)) {
        std::fprintf(stderr, "game: could not reload the ship %s (%s); flying the old one\n", path.c_str(),
                     problem.c_str());
        std::fflush(stderr);
    }
}
