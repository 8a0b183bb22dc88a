// A window that reports what MOUSE_GET says, one line each time it changes, so an
// end-to-end test can move the real pointer over a resized window and check that
// positions come back in framebuffer pixels. Ends on Escape.
#include "platform/platform.h"

#include <cstdio>

int main()
{
    SCREEN_TITLE("Mouse Probe");
    if (SCREEN_OPEN(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 1, 0, 0) != 0) {
        std::fprintf(stderr, "mouse_probe: %s\n", SCREEN_ERROR().c_str());
        return 1;
    }
    int lastX = -2, lastY = -2, lastButtons = -2;
    while (!KEY_DOWN(scancode::ESCAPE)) {
        SCREEN_LOCK();
        SCREEN_CLEAR();
        SCREEN_UNLOCK();
        SLEEP_MS(5);
        int x, y, wheel, buttons, clip;
        MOUSE_GET(x, y, wheel, buttons, clip);
        if (x != lastX || y != lastY || buttons != lastButtons) {
            std::printf("%d %d %d\n", x, y, buttons);
            std::fflush(stdout);
            lastX = x, lastY = y, lastButtons = buttons;
        }
    }
    SCREEN_CLOSE();
    return 0;
}
