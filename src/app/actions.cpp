// Names and rule keys of the actions, in one table in the order of the enumeration.
#include "app/actions.h"

#include "platform/platform.h"

#include <iterator>

namespace {

struct ActionFacts {
    const char* name;  // in the settings file
    const char* label; // on the help screen
    int scanCode;
};

// Sized by its entries, not by the enumeration, so that an action added without its
// facts fails the build below instead of reading as nulls.
constexpr ActionFacts kFacts[] = {
    {"thrust", "thrust", scancode::UP},
    {"left", "turn left", scancode::LEFT},
    {"right", "turn right", scancode::RIGHT},
    {"jump", "jump", scancode::DOWN},
    {"fire", "fire", scancode::W},
    {"ping", "sonar ping", scancode::SPACE},
    {"shield", "shield", scancode::S},
    {"sight", "laser sight", scancode::A},
    {"zoom_in", "zoom in", scancode::PAGE_UP},
    {"zoom_out", "zoom out", scancode::PAGE_DOWN},
    {"pause", "pause", 0},
    {"screenshot", "screenshot", 0},
    {"help", "these keys", 0},
    {"options", "options", 0},
    {"quit", "quit", scancode::ESCAPE},
};
static_assert(std::size(kFacts) == kActionCount, "every action needs its line in kFacts");

} // namespace

std::string actionName(Action action) { return kFacts[bit(action)].name; }

std::string actionLabel(Action action) { return kFacts[bit(action)].label; }

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
