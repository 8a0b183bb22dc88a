// Controller input names and the dead zone. The names are SDL's, kept here so the
// settings can be read without SDL; the tables follow pad::Button and pad::Axis.
#include "app/pad_inputs.h"

#include <array>

namespace {

constexpr std::array<const char*, pad::BUTTON_COUNT> kButtonNames = {
    "a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick", "leftshoulder", "rightshoulder",
    "dpup", "dpdown", "dpleft", "dpright"};
constexpr std::array<const char*, pad::AXIS_COUNT> kAxisNames = {"leftx", "lefty", "rightx", "righty",
                                                                  "lefttrigger", "righttrigger"};

// The same, as a player reads them on the help screen.
constexpr std::array<const char*, pad::BUTTON_COUNT> kButtonLabels = {
    "A", "B", "X", "Y", "Back", "Guide", "Start", "left stick button", "right stick button", "left shoulder",
    "right shoulder", "d-pad up", "d-pad down", "d-pad left", "d-pad right"};
// Each axis by its negative and positive direction (a trigger has only the second).
constexpr std::array<std::array<const char*, 2>, pad::AXIS_COUNT> kAxisLabels = {{
    {"left stick left", "left stick right"},
    {"left stick up", "left stick down"},
    {"right stick left", "right stick right"},
    {"right stick up", "right stick down"},
    {"", "left trigger"},
    {"", "right trigger"},
}};

bool isTrigger(int axis) { return axis == pad::LEFT_TRIGGER || axis == pad::RIGHT_TRIGGER; }

int indexIn(const auto& names, const std::string& name)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (name == names[i]) return static_cast<int>(i);
    }
    return -1;
}

} // namespace

bool padInputByName(const std::string& name, PadInput& input)
{
    if (const int button = indexIn(kButtonNames, name); button >= 0) {
        input = {PadInput::Kind::button, button};
        return true;
    }
    // A trigger only moves one way and is written without a sign; a stick needs one.
    if (const int axis = indexIn(kAxisNames, name); axis >= 0 && isTrigger(axis)) {
        input = {PadInput::Kind::axisUp, axis};
        return true;
    }
    if (name.size() < 2 || (name[0] != '+' && name[0] != '-')) return false;
    const int axis = indexIn(kAxisNames, name.substr(1));
    if (axis < 0 || isTrigger(axis)) return false;
    input = {name[0] == '+' ? PadInput::Kind::axisUp : PadInput::Kind::axisDown, axis};
    return true;
}

std::string padInputName(const PadInput& input)
{
    if (input.kind == PadInput::Kind::button) return kButtonNames[input.index];
    std::string name;
    if (input.kind == PadInput::Kind::axisDown) name = "-";
    else if (!isTrigger(input.index)) name = "+";
    name.append(kAxisNames[input.index]);
    return name;
}

std::string padInputLabel(const PadInput& input)
{
    if (input.kind == PadInput::Kind::button) return kButtonLabels[input.index];
    return kAxisLabels[input.index][input.kind == PadInput::Kind::axisUp ? 1 : 0];
}

bool padInputHeld(const PadInput& input, const PadState& pads)
{
    switch (input.kind) {
    case PadInput::Kind::button: return pads.held & (1u << input.index);
    case PadInput::Kind::axisUp: return pads.axes[input.index] > kPadDeadZone;
    case PadInput::Kind::axisDown: return pads.axes[input.index] < -kPadDeadZone;
    }
    return false;
}

bool padInputPressed(const PadInput& input, const PadState& pads)
{
    return input.kind == PadInput::Kind::button && (pads.pressed & (1u << input.index));
}
