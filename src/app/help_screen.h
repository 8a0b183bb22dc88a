// The key help: what each key and controller button does, written over the dimmed
// picture. The game's table is made from the player's settings, so it shows the keys
// as they are bound; the editor shows its own keys the same way.
#pragma once

#include "app/settings.h"

#include <string>
#include <vector>

// The action's keys in words ("Up, Keypad 8"; quit's start with Escape), and its
// controller inputs ("A, d-pad up").
std::string actionKeysText(const Settings& settings, Action action);
std::string actionPadText(const Settings& settings, Action action);
// The game's table: each action with its keys and its controller inputs as the
// settings bind them, then the keys that close the help.
std::vector<std::string> gameHelpLines(const Settings& settings);
// Dims the picture on screen and writes the lines on a dark panel in its middle;
// shown at the outermost unlock.
void drawHelp(const std::vector<std::string>& lines);
