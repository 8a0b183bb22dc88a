// The text typed while text input is on, kept for the next TEXT_TYPED; what arrives
// while it is off (a backend may not be able to stop its own) is dropped.
#include "platform/backend.h"
#include "platform/platform.h"

#include <utility>

namespace {

struct TextInput {
    bool on = false;
    std::string typed;
};

TextInput input;

} // namespace

void TEXT_INPUT_START()
{
    input = {.on = true, .typed = {}};
    backend::startTextInput();
}

void TEXT_INPUT_STOP()
{
    input = {};
    backend::stopTextInput();
}

std::string TEXT_TYPED() { return std::exchange(input.typed, {}); }

void backend::textTyped(const std::string& text)
{
    if (input.on) input.typed += text;
}
