// Names and rule keys of the actions, in one table in the order of the enumeration.
#include "app/actions.h"

#include "platform/platform.h"

namespace {

struct ActionFacts {
    const char* name;
    int scanCode;
};

constexpr std::array<ActionFacts, kActionCount> kFacts = {{
    {"thrust", scancode::UP},
    {"left", scancode::LEFT},
    {"right", scancode::RIGHT},
    {"jump", scancode::DOWN},
    {"fire", scancode::W},
    {"ping", scancode::SPACE},
    {"shield", scancode::S},
    {"sight", scancode::A},
    {"zoom_in", scancode::PAGE_UP},
    {"zoom_out", scancode::PAGE_DOWN},
    {"pause", 0},
    {"screenshot", 0},
    {"help", 0},
    {"quit", scancode::ESCAPE},
}};

} // namespace

std::string actionName(Action action) { return kFacts[bit(action)].name; }

bool actionByName(const std::string& name, Action& action)
{
    for (int i = 0; i < kActionCount; ++i) {
        if (name == kFacts[i].name) {
            action = static_cast<Action>(i);
            return true;
        }
    }
    return false;
}

int ruleScanCode(Action action) { return kFacts[bit(action)].scanCode; }
