// Changing one action's keys or controller inputs while the game runs: an input is
// added to the action, taken from whichever action held it, and a change that would
// leave pause with nothing to resume by is refused. Each call says in words what it
// did, for the player to read.
#pragma once

#include "app/settings.h"

#include <string>

// The action as the controls screen and its notices name it: "SONAR PING".
std::string actionTitle(Action action);
// Adds the key (a key position) to the action. Escape quits and Enter chooses in
// the menu, so neither is taken; quit keeps Escape and takes no other key.
std::string bindKey(Settings& settings, Action action, int key);
std::string bindPadInput(Settings& settings, Action action, const PadInput& input);
// Takes every key and controller input from the action.
std::string clearBindings(Settings& settings, Action action);
