// One input of a game controller that an action can be bound to: a button, a trigger
// pulled, or a stick pushed one way. Names are SDL's controller names ("a", "dpup",
// "righttrigger"), with a sign before a stick's axis for its direction ("-lefty" is
// the left stick pushed up).
#pragma once

#include "platform/platform.h"

#include <string>

struct PadInput {
    enum class Kind { button, axisUp, axisDown }; // axisDown: towards negative values
    Kind kind = Kind::button;
    int index = 0; // a pad::Button, or a pad::Axis for the other kinds

    bool operator==(const PadInput&) const = default;
};

// How far a stick or trigger must move before it counts: a resting stick never
// reads exactly 0, and a worn one may rest well away from it.
constexpr int kPadDeadZone = 8000;

bool padInputByName(const std::string& name, PadInput& input);
std::string padInputName(const PadInput& input);
// The input in a player's words: "A", "d-pad up", "left stick left", "right trigger".
std::string padInputLabel(const PadInput& input);
bool padInputHeld(const PadInput& input, const PadState& pads);
// A button that went down since the last frame boundary; never a stick or trigger.
bool padInputPressed(const PadInput& input, const PadState& pads);
