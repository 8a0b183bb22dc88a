// Controls of the headless backend, for tests, benchmarks and headless runners: a
// clock that only moves when told to (or by SLEEP_MS), scripted keys and mouse, and
// a hook that runs whenever events would be pumped, so a script can change the
// input in the middle of a frame. Only programs linked with the headless backend
// may call these.
#pragma once

#include <functional>
#include <string>

namespace headless {

// Back to a closed screen, time 0, no keys, pointer outside, no hook, nothing counted,
// nothing latched and no close request.
void reset();

void setTime(double seconds);
void advanceTime(double seconds);

void setKey(int scanCode, bool down);
void releaseAllKeys();

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

// Frames shown so far (outermost unlocks that had changed rows).
int presentedFrames();

struct MouseRequest {
    int x = 0, y = 0, visibility = 0, clip = 0;
    bool made = false;
};
// The last MOUSE_SET call.
MouseRequest lastMouseSet();

} // namespace headless
