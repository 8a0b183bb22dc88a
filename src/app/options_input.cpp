// Up, Down, Left, Right, Enter and Escape, and the d-pad, A and B, are the menu's own
// whatever the actions are bound to.
#include "app/options_input.h"

#include "app/options_screen.h"
#include "app/pause_screen.h"
#include "platform/key_positions.h"

#include <utility>

namespace {

constexpr std::pair<int, MenuCommand> kMenuKeys[] = {
    {key_position::UP, MenuCommand::up},         {key_position::DOWN, MenuCommand::down},
    {key_position::LEFT, MenuCommand::left},     {key_position::RIGHT, MenuCommand::right},
    {key_position::RETURN, MenuCommand::choose}, {key_position::KEYPAD_ENTER, MenuCommand::choose},
    {key_position::ESCAPE, MenuCommand::back},
};

constexpr std::pair<int, MenuCommand> kMenuButtons[] = {
    {pad::DPAD_UP, MenuCommand::up},     {pad::DPAD_DOWN, MenuCommand::down}, {pad::DPAD_LEFT, MenuCommand::left},
    {pad::DPAD_RIGHT, MenuCommand::right}, {pad::A, MenuCommand::choose},     {pad::B, MenuCommand::back},
};

MenuCommand commandOf(const PadState& pads)
{
    for (const auto& [key, command] : kMenuKeys) {
        if (KEY_PRESSED(key)) return command;
    }
    for (const auto& [button, command] : kMenuButtons) {
        if (pads.pressed & (1u << button)) return command;
    }
    return MenuCommand::none;
}

int firstKeyPressed()
{
    for (int key = 1; key < key_position::COUNT; ++key) {
        if (KEY_PRESSED(key)) return key;
    }
    return 0;
}

// A button pressed, else a stick direction or trigger that has just passed the dead zone.
std::optional<PadInput> firstPadInput(const PadState& pads, const PadState& lastPads)
{
    for (int button = 0; button < pad::BUTTON_COUNT; ++button) {
        if (pads.pressed & (1u << button)) return PadInput{PadInput::Kind::button, button};
    }
    for (int axis = 0; axis < pad::AXIS_COUNT; ++axis) {
        for (const PadInput::Kind kind : {PadInput::Kind::axisUp, PadInput::Kind::axisDown}) {
            const PadInput input{kind, axis};
            PadInput named; // a trigger has no negative direction
            if (padInputByName(padInputName(input), named) && named == input && padInputHeld(input, pads) &&
                !padInputHeld(input, lastPads)) {
                return input;
            }
        }
    }
    return std::nullopt;
}

} // namespace

MenuInput readMenuInput(const OptionsMenu& menu, const Settings& settings, PadState& lastPads)
{
    MenuInput input;
    const PadState pads = PADS_READ();
    input.command = commandOf(pads);
    input.key = firstKeyPressed();
    input.padInput = firstPadInput(pads, lastPads);
    lastPads = pads;
    int x = 0, y = 0;
    if (leftClickAt(x, y)) input.clickedLine = optionsLineAt(menu, settings, x, y, input.clickedArrow);
    return input;
}
