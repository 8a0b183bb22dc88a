// Flying every save at once: the game follows the ship file the editor saves to (the
// player's own one where there is room for it) and, when it is saved anew, reloads
// the outline in place. Runs at the top of a frame, around the rules, and looks at
// the file once a second (file_watch.h).
#pragma once

#include <string>

struct Game;

// Starts following the ship file the editor saves to, as it is now.
void watchShipFile(Game& game, const std::string& path);
// Stops following it: a demo flies one ship from start to end, the one it recorded.
void stopWatchingShipFile(Game& game);
// Replaces the ship's outline with the file's when the file has changed. Position,
// heading, speed, fuel, battery and everything else stay: only the lines change. A
// file that is not a whole ship leaves the old outline flying and is said once on
// stderr.
void reloadShipWhenSaved(Game& game);
