// Start-up, frame and shut-down of the ship editor. For now the editor shows its
// window and a status line and ends on Escape; editing arrives with the models.
#include "editor.h"

#include "platform.h"

#include <cstdint>

namespace {

constexpr int kFrameSleepMs = 3;
constexpr uint32_t kStatusColour = 0xFFFFFFFF;
constexpr float kStatusY = 471.0f;

} // namespace

bool startEditor(Editor& /*editor*/, std::string& error)
{
    SCREEN_TITLE("Ship Editor");
    if (SCREEN_OPEN(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 1, 0, 0) != 0) {
        error = "cannot open the 640 x 480 window: " + SCREEN_ERROR();
        return false;
    }
    return true;
}

bool runEditorFrame(Editor& /*editor*/)
{
    SCREEN_LOCK();
    SCREEN_CLEAR();
    DRAW_TEXT(nullptr, 0.0f, kStatusY, "SHIP EDITOR - ESC QUITS", kStatusColour);
    WAIT_VSYNC();
    SCREEN_UNLOCK(-1, -1);
    SLEEP_MS(kFrameSleepMs);
    return !KEY_DOWN(scancode::ESCAPE);
}

void endEditor(Editor& /*editor*/) { SCREEN_CLOSE(); }
