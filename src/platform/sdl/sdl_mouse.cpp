// MOUSE_GET and MOUSE_SET for the SDL backend. Window positions are mapped through
// the renderer's logical size, so they come out in framebuffer pixels at any window
// size, letterbox and display scale; the letterbox bars count as outside. Presses
// are latched as their events arrive, so a click shorter than a frame is still seen.
#include "platform/platform.h"
#include "platform/press_latch.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_window.h"

#include <cmath>

namespace {

PressLatch pressLatch;

int buttonBits(Uint32 sdlButtons)
{
    return (sdlButtons & SDL_BUTTON_LMASK ? MOUSE_LEFT : 0) | (sdlButtons & SDL_BUTTON_RMASK ? MOUSE_RIGHT : 0) |
           (sdlButtons & SDL_BUTTON_MMASK ? MOUSE_MIDDLE : 0);
}

// The framebuffer pixel under a window position; false over the letterbox bars.
bool framebufferPixel(int windowX, int windowY, int& x, int& y)
{
    float logicalX = 0.0f, logicalY = 0.0f;
    SDL_RenderWindowToLogical(sdl::renderer(), windowX, windowY, &logicalX, &logicalY);
    x = int(std::floor(logicalX));
    y = int(std::floor(logicalY));
    return x >= 0 && y >= 0 && x < SCREEN_WIDTH && y < SCREEN_HEIGHT;
}

} // namespace

namespace sdl {

void latchButtonPress(const SDL_MouseButtonEvent& press)
{
    if (!window() || press.windowID != SDL_GetWindowID(window())) return;
    int x = 0, y = 0;
    if (framebufferPixel(press.x, press.y, x, y)) pressLatch.press(buttonBits(SDL_BUTTON(press.button)), x, y);
}

} // namespace sdl

void MOUSE_GET(int& x, int& y, int& wheel, int& buttons, int& clip)
{
    x = y = wheel = buttons = clip = -1;
    SDL_Window* window = sdl::window();
    if (!window) return;
    int windowX = 0, windowY = 0;
    const Uint32 sdlButtons = SDL_GetMouseState(&windowX, &windowY);
    const bool over = SDL_GetMouseFocus() == window && framebufferPixel(windowX, windowY, x, y);
    int held = over ? buttonBits(sdlButtons) : 0;
    const bool tapped = pressLatch.fold(x, y, held);
    if (!over && !tapped) {
        x = y = -1;
        return;
    }
    wheel = sdl::wheelPosition();
    buttons = held;
    clip = SDL_GetWindowGrab(window) ? 1 : 0;
}

void MOUSE_SET(int x, int y, int visibility, int clip)
{
    SDL_Window* window = sdl::window();
    if (!window) return;
    if (x >= 0 && y >= 0) {
        int windowX = 0, windowY = 0;
        // Aim at the middle of the framebuffer pixel, which may span several window pixels.
        SDL_RenderLogicalToWindow(sdl::renderer(), float(x) + 0.5f, float(y) + 0.5f, &windowX, &windowY);
        SDL_WarpMouseInWindow(window, windowX, windowY);
    }
    if (visibility >= 0) SDL_ShowCursor(visibility == 0 ? SDL_DISABLE : SDL_ENABLE);
    if (clip >= 0) SDL_SetWindowGrab(window, clip ? SDL_TRUE : SDL_FALSE);
}
