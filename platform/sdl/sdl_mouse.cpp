// MOUSE_GET and MOUSE_SET for the SDL backend. Window positions are mapped through
// the renderer's logical size, so they come out in framebuffer pixels at any window
// size, letterbox and display scale; the letterbox bars count as outside.
#include "platform.h"
#include "sdl_events.h"
#include "sdl_window.h"

#include <cmath>

namespace {

int buttonBits(Uint32 sdlButtons)
{
    return (sdlButtons & SDL_BUTTON_LMASK ? MOUSE_LEFT : 0) | (sdlButtons & SDL_BUTTON_RMASK ? MOUSE_RIGHT : 0) |
           (sdlButtons & SDL_BUTTON_MMASK ? MOUSE_MIDDLE : 0);
}

} // namespace

void MOUSE_GET(int& x, int& y, int& wheel, int& buttons, int& clip)
{
    x = y = wheel = buttons = clip = -1;
    SDL_Window* window = sdl::window();
    if (!window || SDL_GetMouseFocus() != window) return;
    int windowX = 0, windowY = 0;
    const Uint32 sdlButtons = SDL_GetMouseState(&windowX, &windowY);
    float logicalX = 0.0f, logicalY = 0.0f;
    SDL_RenderWindowToLogical(sdl::renderer(), windowX, windowY, &logicalX, &logicalY);
    const int pixelX = int(std::floor(logicalX));
    const int pixelY = int(std::floor(logicalY));
    if (pixelX < 0 || pixelY < 0 || pixelX >= SCREEN_WIDTH || pixelY >= SCREEN_HEIGHT) return;
    x = pixelX;
    y = pixelY;
    wheel = sdl::wheelPosition();
    buttons = buttonBits(sdlButtons);
    clip = SDL_GetWindowGrab(window) ? 1 : 0;
}

void MOUSE_SET(int x, int y, int visibility, int clip)
{
    SDL_Window* window = sdl::window();
    if (!window) return;
    int windowX = 0, windowY = 0;
    // Aim at the middle of the framebuffer pixel, which may span several window pixels.
    SDL_RenderLogicalToWindow(sdl::renderer(), float(x) + 0.5f, float(y) + 0.5f, &windowX, &windowY);
    SDL_WarpMouseInWindow(window, windowX, windowY);
    if (visibility >= 0) SDL_ShowCursor(visibility == 0 ? SDL_DISABLE : SDL_ENABLE);
    if (clip >= 0) SDL_SetWindowGrab(window, clip ? SDL_TRUE : SDL_FALSE);
}
