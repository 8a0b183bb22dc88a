// The player's actions: what a key or a controller input can be bound to. The first
// ten reach the rules as the keys the rules have always read (fire is W whatever the
// player presses); pause, screenshot, help and options belong to the loop around the
// rules, and quit is Escape's.
#pragma once

#include <array>
#include <bitset>
#include <string>

enum class Action {
    thrust, left, right, jump, fire, ping, shield, sight, zoomIn, zoomOut, // read by the rules
    pause, screenshot, help, options, quit,
    count
};

constexpr int kActionCount = static_cast<int>(Action::count);
using ActionSet = std::bitset<kActionCount>;

constexpr size_t bit(Action action) { return static_cast<size_t>(action); }

// The name of the action in the settings file ("zoom_in"), and back; false when unknown.
std::string actionName(Action action);
bool actionByName(const std::string& name, Action& action);
// What the action does, in words for the help screen ("turn left").
std::string actionLabel(Action action);

// The set-1 code by which the rules read the action, or 0 for the loop's own actions.
// Quit reads as Escape.
int ruleScanCode(Action action);
