// The headless backend: the same framebuffer and primitives with no window. Time,
// keys and mouse are whatever the test sets, so runs are exactly repeatable. Button
// presses and close requests are kept as the window backend keeps them.
#include "backend.h"
#include "headless.h"
#include "platform.h"
#include "press_latch.h"

#include <array>

namespace {

struct HeadlessState {
    double time = 0.0;
    std::array<bool, 128> keys{};
    bool mouseOver = false;
    int mouseX = 0, mouseY = 0, mouseButtons = 0, mouseWheel = 0;
    PressLatch pressLatch;
    bool closeRequested = false;
    std::function<void()> pumpHook;
    std::string openFailure;
    int presented = 0;
    headless::MouseRequest mouseSet;
};

HeadlessState state;

void runPumpHook()
{
    if (state.pumpHook) state.pumpHook();
}

} // namespace

namespace backend {

bool open(const std::string& /*title*/, std::string& error)
{
    if (state.openFailure.empty()) return true;
    error = state.openFailure;
    state.openFailure.clear();
    return false;
}

void close() {}

void present(const uint8_t* /*pixels*/, int /*pitch*/, int /*firstRow*/, int /*lastRow*/) { ++state.presented; }

void pumpEvents(bool /*frameBoundary*/) { runPumpHook(); }

void setTitle(const std::string& /*title*/) {}

} // namespace backend

namespace headless {

void reset()
{
    SCREEN_CLOSE();
    state = HeadlessState{};
}

void setTime(double seconds) { state.time = seconds; }
void advanceTime(double seconds) { state.time += seconds; }

void setKey(int scanCode, bool down)
{
    if (scanCode >= 0 && scanCode < int(state.keys.size())) state.keys[scanCode] = down;
}

void releaseAllKeys() { state.keys.fill(false); }

void setMouse(int x, int y, int buttons, int wheel)
{
    const int pressed = buttons & ~(state.mouseOver ? state.mouseButtons : 0);
    if (pressed) state.pressLatch.press(pressed, x, y);
    state.mouseOver = true;
    state.mouseX = x;
    state.mouseY = y;
    state.mouseButtons = buttons;
    state.mouseWheel = wheel;
}

void setMouseOutside() { state.mouseOver = false; }

void requestClose() { state.closeRequested = true; }

void onPump(std::function<void()> hook) { state.pumpHook = std::move(hook); }

void failNextOpen(const std::string& reason) { state.openFailure = reason; }

int presentedFrames() { return state.presented; }

MouseRequest lastMouseSet() { return state.mouseSet; }

} // namespace headless

int KEY_DOWN(int scanCode)
{
    if (scanCode < 0 || scanCode >= int(state.keys.size())) return 0;
    if (scanCode == scancode::ESCAPE && state.closeRequested) return -1;
    return state.keys[scanCode] ? -1 : 0;
}

void CANCEL_CLOSE() { state.closeRequested = false; }

void MOUSE_GET(int& x, int& y, int& wheel, int& buttons, int& clip)
{
    x = y = wheel = buttons = clip = -1;
    if (!SCREEN_POINTER()) return;
    int held = state.mouseOver ? state.mouseButtons : 0;
    if (state.mouseOver) {
        x = state.mouseX;
        y = state.mouseY;
    }
    if (!state.pressLatch.fold(x, y, held) && !state.mouseOver) return;
    wheel = state.mouseWheel;
    buttons = held;
    clip = 0;
}

void MOUSE_SET(int x, int y, int visibility, int clip) { state.mouseSet = {x, y, visibility, clip, true}; }

double TIMER_SECONDS() { return state.time; }

void SLEEP_MS(int milliseconds)
{
    if (milliseconds > 0) state.time += milliseconds / 1000.0;
    runPumpHook();
}
