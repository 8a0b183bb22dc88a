// The headless backend: the same framebuffer and primitives with no window. Time,
// keys, controllers and mouse are whatever the test sets, so runs are exactly
// repeatable. Keys are kept by their positions, as the real keyboard's are;
// button presses and close requests as the window backend keeps them.
#include "platform/backend.h"
#include "platform/file_replace.h"
#include "platform/headless/headless.h"
#include "platform/key_positions.h"
#include "platform/platform.h"
#include "platform/press_latch.h"
#include "platform/set_one_keys.h"

#include <array>

namespace {

constexpr int kLargestHeadlessScale = 4; // a desktop with room for every size

struct HeadlessState {
    double time = 0.0;
    std::array<bool, key_position::COUNT> keys{};
    std::array<bool, key_position::COUNT> pressed{}; // since the last frame boundary
    bool focusLost = false;
    PadState pads;
    bool mouseOver = false;
    int mouseX = 0, mouseY = 0, mouseButtons = 0, mouseWheel = 0;
    PressLatch pressLatch;
    bool closeRequested = false;
    std::function<void()> pumpHook;
    std::string openFailure;
    int presented = 0;
    const uint32_t* shown = nullptr; // the pixels last presented
    int iconWidth = 0, iconHeight = 0;
    headless::MouseRequest mouseSet;
    FileKept saves = FileKept::yes;
    std::string saveProblem;
    backend::WindowMode mode;
};

HeadlessState state;

void runPumpHook()
{
    if (state.pumpHook) state.pumpHook();
}

} // namespace

namespace backend {

bool open(const std::string& /*title*/, const WindowMode& mode, std::string& error)
{
    state.mode = mode;
    if (state.openFailure.empty()) return true;
    error = state.openFailure;
    state.openFailure.clear();
    return false;
}

void close() { state.shown = nullptr; }

void applyMode(const WindowMode& mode) { state.mode = mode; }

bool fullscreen() { return state.mode.fullscreen; }

int largestScale() { return kLargestHeadlessScale; }

void present(const uint8_t* pixels, int /*pitch*/, int /*firstRow*/, int /*lastRow*/)
{
    ++state.presented;
    state.shown = reinterpret_cast<const uint32_t*>(pixels);
}

void pumpEvents(bool frameBoundary)
{
    if (frameBoundary) {
        state.pressed.fill(false);
        state.focusLost = false;
        state.pads.pressed = 0;
    }
    runPumpHook();
}

void setTitle(const std::string& /*title*/) {}

void setIcon(const uint32_t* pixels, int width, int height)
{
    state.iconWidth = pixels ? width : 0;
    state.iconHeight = pixels ? height : 0;
}

void fileSaved(const std::string& /*path*/) {}
void fileRemoved(const std::string& /*path*/) {}
void startTextInput() {}
void stopTextInput() {}

FileKept fileKept(const std::string& /*path*/, std::string& problem)
{
    problem = state.saveProblem;
    return state.saves;
}

} // namespace backend

namespace headless {

void reset()
{
    SCREEN_CLOSE();
    RELEASE_TIMER();
    RELEASE_KEYS();
    state = HeadlessState{};
}

void setTime(double seconds) { state.time = seconds; }
void advanceTime(double seconds) { state.time += seconds; }

void setKey(int scanCode, bool down) { setKeyAt(set_one::keysOf(scanCode).main, down); }

void setKeyAt(int key, bool down)
{
    if (!key_position::valid(key)) return;
    if (down && !state.keys[key]) state.pressed[key] = true;
    state.keys[key] = down;
}

void releaseAllKeys() { state.keys.fill(false); }

void typeText(const std::string& text) { backend::textTyped(text); }

void loseFocus() { state.focusLost = true; }

void setPads(const PadState& pads)
{
    const uint32_t wentDown = pads.held & ~state.pads.held;
    const uint32_t pressed = state.pads.pressed | wentDown | pads.pressed;
    state.pads = pads;
    state.pads.pressed = pressed;
}

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

std::pair<int, bool> windowMode() { return {state.mode.scale, state.mode.fullscreen}; }

int presentedFrames() { return state.presented; }

uint32_t shownPixel(int x, int y)
{
    if (!state.shown || x < 0 || y < 0 || x >= SCREEN_WIDTH || y >= SCREEN_HEIGHT) return 0;
    return state.shown[size_t(y) * SCREEN_WIDTH + size_t(x)];
}

std::pair<int, int> windowIconSize() { return {state.iconWidth, state.iconHeight}; }

MouseRequest lastMouseSet() { return state.mouseSet; }

void keepSavedFiles(FileKept kept, const std::string& problem)
{
    state.saves = kept;
    state.saveProblem = problem;
}

} // namespace headless

namespace backend {

bool keyDown(int scanCode)
{
    if (scanCode == scancode::ESCAPE && state.closeRequested) return true;
    const set_one::KeyPair& pair = set_one::keysOf(scanCode);
    return KEY_HELD(pair.main) || KEY_HELD(pair.alternate);
}

} // namespace backend

void CANCEL_CLOSE() { state.closeRequested = false; }

bool KEY_HELD(int key) { return key_position::valid(key) && state.keys[key]; }
bool KEY_PRESSED(int key) { return key_position::valid(key) && state.pressed[key]; }
bool KEY_DOWN_NOW(int key) { return KEY_HELD(key); } // a key let go here is up at once: no tap outlives it

bool FOCUS_LOST() { return state.focusLost; }

void WAIT_EVENTS(int /*milliseconds*/) { backend::pumpEvents(true); }

void PADS_OPEN() {}
PadState PADS_READ() { return state.pads; }

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

double REAL_SECONDS() { return state.time; }

void SLEEP_MS(int milliseconds)
{
    if (milliseconds > 0) state.time += milliseconds / 1000.0;
    runPumpHook();
}
