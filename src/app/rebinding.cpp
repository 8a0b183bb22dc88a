// Keys and controller inputs follow one rule, written once over either table.
#include "app/rebinding.h"

#include "platform/key_positions.h"

#include <algorithm>
#include <cctype>

namespace {

template <typename Input>
using Bindings = std::array<std::vector<Input>, kActionCount>;

template <typename Input>
std::string addInput(Settings& settings, Bindings<Input> Settings::*table, Action action, const Input& input,
                 const std::string& name)
{
    std::vector<Input>& own = (settings.*table)[bit(action)];
    if (std::find(own.begin(), own.end(), input) != own.end()) {
        return name + " is already " + actionTitle(action) + "'s";
    }
    Settings changed = settings;
    int owner = -1;
    for (int a = 0; a < kActionCount; ++a) {
        if (std::erase((changed.*table)[a], input) > 0) owner = a;
    }
    (changed.*table)[bit(action)].push_back(input);
    if (!pauseCanResume(changed)) return name + " stays with PAUSE: it is the last thing that resumes the game";
    settings = std::move(changed);
    if (owner < 0) return name + " added to " + actionTitle(action);
    return name + " moved from " + actionTitle(Action(owner)) + " to " + actionTitle(action);
}

} // namespace

std::string actionTitle(Action action)
{
    std::string title = actionLabel(action);
    std::transform(title.begin(), title.end(), title.begin(), [](unsigned char c) { return std::toupper(c); });
    return title;
}

std::string bindKey(Settings& settings, Action action, int key)
{
    if (key == key_position::ESCAPE) return "Escape is kept for quitting";
    if (key == key_position::RETURN || key == key_position::KEYPAD_ENTER) return "Enter is kept for the menu";
    if (action == Action::quit) return "QUIT keeps Escape and takes controller inputs only";
    return addInput(settings, &Settings::keys, action, key, KEY_NAME(key));
}

std::string bindPadInput(Settings& settings, Action action, const PadInput& input)
{
    return addInput(settings, &Settings::pad, action, input, padInputLabel(input));
}

std::string clearBindings(Settings& settings, Action action)
{
    Settings changed = settings;
    changed.keys[bit(action)].clear();
    changed.pad[bit(action)].clear();
    if (!pauseCanResume(changed)) return "PAUSE keeps its keys: it is the only thing that resumes the game";
    settings = std::move(changed);
    return actionTitle(action) + " cleared";
}
