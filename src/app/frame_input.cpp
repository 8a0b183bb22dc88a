// Gathering a frame's input from the platform's keyboard and controllers.
#include "app/frame_input.h"

#include <algorithm>

FrameInput readFrameInput(const Settings& settings)
{
    FrameInput input;
    const PadState pads = PADS_READ();
    for (int a = 0; a < kActionCount; ++a) {
        const auto& keys = settings.keys[a];
        const auto& inputs = settings.pad[a];
        const bool padHeld =
            std::any_of(inputs.begin(), inputs.end(), [&](const PadInput& i) { return padInputHeld(i, pads); });
        const bool pressed =
            std::any_of(keys.begin(), keys.end(), KEY_PRESSED) ||
            std::any_of(inputs.begin(), inputs.end(), [&](const PadInput& i) { return padInputPressed(i, pads); });
        input.held[a] = std::any_of(keys.begin(), keys.end(), KEY_HELD) || padHeld;
        input.downNow[a] = std::any_of(keys.begin(), keys.end(), KEY_DOWN_NOW) || padHeld;
        input.pressed[a] = pressed;
    }
    input.focusLost = FOCUS_LOST();
    return input;
}

KeySet ruleKeys(const ActionSet& held)
{
    KeySet keys;
    for (int a = 0; a < kActionCount; ++a) {
        const int code = ruleScanCode(Action(a));
        if (held[a] && code != 0) keys.set(size_t(code));
    }
    return keys;
}
