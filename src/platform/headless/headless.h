// Controls of the headless backend, for tests, benchmarks and headless runners: a
// clock that only moves when told to (or by SLEEP_MS), scripted keys and mouse, and
// a hook that runs whenever events would be pumped, so a script can change the
// input in the middle of a frame. Only programs linked with the headless backend
// may call these.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <string>

struct PadState;
enum class FileKept;

namespace headless {

// Back to a closed screen, time 0, no keys or controllers, pointer outside, no hook,
// nothing counted, latched or asked to close. Holds of the clock and keys are let go too.
void reset();

void setTime(double seconds);
void advanceTime(double seconds);

// By set-1 code (the key's main position: W, Up rather than Keypad 8).
void setKey(int scanCode, bool down);
// By key position (KEY_BY_NAME). A key going down counts as pressed until the
// next frame boundary.
void setKeyAt(int key, bool down);
void releaseAllKeys();

// Text typed on the keyboard (TEXT_TYPED reads it while text input is on).
void typeText(const std::string& text);

// The window loses the focus (as when the player switches to another program).
void loseFocus();
// What the connected controllers report from now on; buttons that go down (or are
// given as pressed) count as pressed until the next frame boundary.
void setPads(const PadState& pads);

// Pointer over the picture at framebuffer pixel (x, y) with the given button bits.
// A button that goes down here is latched, as the window backend latches a press:
// the next MOUSE_GET reports it even if a later call has already let it go.
void setMouse(int x, int y, int buttons, int wheel = 0);
void setMouseOutside();

// The window's close button: Escape reads as held until CANCEL_CLOSE.
void requestClose();

// Called on every event pump: at the outermost unlock, in SLEEP_MS and PUMP_EVENTS.
void onPump(std::function<void()> hook);

// The next SCREEN_OPEN fails with this reason (as when no display is available).
void failNextOpen(const std::string& reason);

// The window's scale and fullscreen as last opened or applied.
std::pair<int, bool> windowMode();

// Frames shown so far (outermost unlocks that had changed rows).
int presentedFrames();
// A pixel as the window last showed it (with any overlay), 0 before anything was
// shown; valid until the screen closes.
uint32_t shownPixel(int x, int y);
// The size of the window's icon, 0 x 0 when it has none.
std::pair<int, int> windowIconSize();

struct MouseRequest {
    int x = 0, y = 0, visibility = 0, clip = 0;
    bool made = false;
};
// The last MOUSE_SET call.
MouseRequest lastMouseSet();

// What savedFileKept answers from now on, as a backend that stores the user's files
// itself would (the browser's): still being written, or failed with the problem.
void keepSavedFiles(FileKept kept, const std::string& problem = "");

} // namespace headless
