// Game controllers for the browser backend, through the Gamepad API. Only controllers
// the browser lays out in its standard mapping are read (their buttons and axes are
// SDL's, numbered differently); another is named once on standard error and ignored.
// The browser sends no button events: presses are found by sampling at each frame
// boundary and each reading.
#include "platform/platform.h"
#include "platform/web/web_page.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

// The standard mapping's button for each of ours, in pad::Button order.
constexpr int kStandardButton[pad::BUTTON_COUNT] = {0, 1, 2, 3, 8, 16, 9, 10, 11, 4, 5, 12, 13, 14, 15};
constexpr int kStandardLeftTrigger = 6;
constexpr int kStandardRightTrigger = 7;

struct Pads {
    bool started = false;
    uint32_t lastHeld = 0;
    uint32_t pressed = 0; // since the last frame boundary
    std::set<std::string> refused;
};

Pads pads;

int axisValue(double value) { return int(std::lround(std::clamp(value, -1.0, 1.0) * pad::kAxisFull)); }

// The reading furthest from rest wins, so a resting controller never masks a moved one.
int furthestFromRest(int a, int b) { return std::abs(b) > std::abs(a) ? b : a; }

bool standard(const EmscriptenGamepadEvent& gamepad)
{
    if (std::strcmp(gamepad.mapping, "standard") == 0) return true;
    if (pads.refused.insert(gamepad.id).second) {
        std::fprintf(stderr, "ignoring the controller \"%s\": the browser has no standard layout for it\n", gamepad.id);
    }
    return false;
}

void addPad(const EmscriptenGamepadEvent& gamepad, PadState& state)
{
    for (int b = 0; b < pad::BUTTON_COUNT; ++b) {
        if (kStandardButton[b] < gamepad.numButtons && gamepad.digitalButton[kStandardButton[b]]) state.held |= 1u << b;
    }
    for (int a = 0; a < 4 && a < gamepad.numAxes; ++a) {
        state.axes[a] = furthestFromRest(state.axes[a], axisValue(gamepad.axis[a]));
    }
    const auto trigger = [&gamepad](int button) {
        return button < gamepad.numButtons ? axisValue(gamepad.analogButton[button]) : 0;
    };
    state.axes[pad::LEFT_TRIGGER] = std::max(state.axes[pad::LEFT_TRIGGER], trigger(kStandardLeftTrigger));
    state.axes[pad::RIGHT_TRIGGER] = std::max(state.axes[pad::RIGHT_TRIGGER], trigger(kStandardRightTrigger));
}

// Every connected controller now; buttons down since the last sample count as pressed.
PadState sample()
{
    PadState state;
    if (!pads.started || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return state;
    for (int i = 0, count = emscripten_get_num_gamepads(); i < count; ++i) {
        EmscriptenGamepadEvent gamepad{};
        if (emscripten_get_gamepad_status(i, &gamepad) != EMSCRIPTEN_RESULT_SUCCESS || !gamepad.connected) continue;
        if (standard(gamepad)) addPad(gamepad, state);
    }
    pads.pressed |= state.held & ~pads.lastHeld;
    pads.lastHeld = state.held;
    state.pressed = pads.pressed;
    return state;
}

} // namespace

void web::startPadFrame()
{
    pads.pressed = 0;
    sample();
}

void PADS_OPEN() { pads.started = true; }

PadState PADS_READ() { return sample(); }
