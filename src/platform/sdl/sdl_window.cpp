// The SDL window: a resizable, high-DPI aware window that shows the 640 by 480
// framebuffer letterboxed at any size with nearest-neighbour scaling, through one
// streaming texture. Only the changed rows are uploaded at each presentation.
#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_window.h"

#include <algorithm>

namespace {

constexpr int kMinimumWidth = SCREEN_WIDTH / 2;
constexpr int kMinimumHeight = SCREEN_HEIGHT / 2;

struct Window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
};

Window sdlWindow;

std::string sdlFailure(const char* what) { return std::string(what) + ": " + SDL_GetError(); }

// SDL quietly falls back to its offscreen driver when no display answers, and the
// program would then run with no window at all. Unless the user names a driver, try
// the ones that show something, one by one, and say why each refused.
bool startVideo(std::string& error)
{
    if (SDL_getenv("SDL_VIDEODRIVER")) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        error = sdlFailure("could not start the video system");
        return false;
    }
    std::string refusals;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string driver = SDL_GetVideoDriver(i);
        if (driver == "offscreen" || driver == "dummy" || driver == "evdev") continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
        const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        if (started) return true;
        refusals += (refusals.empty() ? "" : "; ") + driver + ": " + SDL_GetError();
    }
    error = "no display to open a window on (" + refusals + ")";
    return false;
}

// The largest multiple of 640 x 480 that fits the usable area of the desktop the
// window is on (the first desktop before there is a window).
int largestFittingScale()
{
    const int display = sdlWindow.window ? std::max(SDL_GetWindowDisplayIndex(sdlWindow.window), 0) : 0;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
    return std::max(1, std::min(usable.w / SCREEN_WIDTH, usable.h / SCREEN_HEIGHT));
}

// The asked multiple of 640 x 480, reduced until it fits the desktop's usable area.
int fittingScale(int scale) { return std::max(1, std::min(scale, largestFittingScale())); }

SDL_Renderer* createRenderer(SDL_Window* window)
{
    // Synchronised presentation where the driver has it; any renderer otherwise.
    if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC)) return r;
    return SDL_CreateRenderer(window, -1, 0);
}

} // namespace

namespace sdl {

SDL_Window* window() { return sdlWindow.window; }
SDL_Renderer* renderer() { return sdlWindow.renderer; }

void reshowFrame()
{
    if (!sdlWindow.renderer) return;
    SDL_SetRenderDrawColor(sdlWindow.renderer, 0, 0, 0, 255); // the letterbox bars
    SDL_RenderClear(sdlWindow.renderer);
    SDL_RenderCopy(sdlWindow.renderer, sdlWindow.texture, nullptr, nullptr);
    SDL_RenderPresent(sdlWindow.renderer);
}

void toggleFullscreen()
{
    if (!sdlWindow.window) return;
    // Desktop fullscreen keeps the display mode, so switching is instant and safe.
    SDL_SetWindowFullscreen(sdlWindow.window, backend::fullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

} // namespace sdl

namespace backend {

bool open(const std::string& title, const WindowMode& mode, std::string& error)
{
    // Each step names what failed; close() releases whatever the earlier steps made.
    const auto fail = [&error](const char* what) {
        error = sdlFailure(what);
        close();
        return false;
    };
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // SDL drops a click that arrives within a few milliseconds of the window gaining
    // focus; with focus following the pointer, that is a quick click on entering it.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!startVideo(error)) return false;
    const int scale = fittingScale(mode.scale);
    // Hidden until it is ready: making an OpenGL renderer may destroy the window and
    // make a new one, and a desktop (or a test) should never see the first.
    const Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN |
                         (mode.fullscreen ? Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u);
    sdlWindow.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale, flags);
    if (!sdlWindow.window) return fail("could not create the window");
    sdlWindow.renderer = createRenderer(sdlWindow.window);
    if (!sdlWindow.renderer) return fail("could not create a renderer");
    sdlWindow.texture = SDL_CreateTexture(sdlWindow.renderer, SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_STREAMING, SCREEN_WIDTH, SCREEN_HEIGHT);
    if (!sdlWindow.texture) return fail("could not create the screen texture");
    if (SDL_RenderSetLogicalSize(sdlWindow.renderer, SCREEN_WIDTH, SCREEN_HEIGHT) != 0) {
        return fail("could not scale the picture to the window");
    }
    SDL_SetTextureBlendMode(sdlWindow.texture, SDL_BLENDMODE_NONE); // pixel alpha is never shown
    SDL_SetWindowMinimumSize(sdlWindow.window, kMinimumWidth, kMinimumHeight);
    SDL_ShowWindow(sdlWindow.window);
    return true;
}

void applyMode(const WindowMode& mode)
{
    if (!sdlWindow.window) return;
    SDL_SetWindowFullscreen(sdlWindow.window, mode.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    const int scale = fittingScale(mode.scale);
    // A fullscreen window keeps the size for when it is a window again.
    SDL_SetWindowSize(sdlWindow.window, SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale);
    if (!mode.fullscreen) SDL_SetWindowPosition(sdlWindow.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

bool fullscreen() { return sdlWindow.window && (SDL_GetWindowFlags(sdlWindow.window) & SDL_WINDOW_FULLSCREEN_DESKTOP); }

int largestScale() { return largestFittingScale(); }

void close()
{
    sdl::closePads();
    if (sdlWindow.texture) SDL_DestroyTexture(sdlWindow.texture);
    if (sdlWindow.renderer) SDL_DestroyRenderer(sdlWindow.renderer);
    if (sdlWindow.window) SDL_DestroyWindow(sdlWindow.window);
    sdlWindow = {};
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // The last one out releases SDL's own helpers (the desktop bus connection among them).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

void present(const uint8_t* pixels, int pitch, int firstRow, int lastRow)
{
    const SDL_Rect rows{0, firstRow, SCREEN_WIDTH, lastRow - firstRow + 1};
    SDL_UpdateTexture(sdlWindow.texture, &rows, pixels + firstRow * pitch, pitch);
    sdl::reshowFrame();
}

void setTitle(const std::string& title)
{
    if (sdlWindow.window) SDL_SetWindowTitle(sdlWindow.window, title.c_str());
}

void setIcon(const uint32_t* pixels, int width, int height)
{
    if (!sdlWindow.window) return;
    // SDL copies the pixels into the window's icon property (_NET_WM_ICON on X11), so
    // the surface only lends them for the call. Without pixels the window keeps its icon.
    SDL_Surface* icon = pixels ? SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32,
                                                                    width * 4, SDL_PIXELFORMAT_ARGB8888)
                               : nullptr;
    if (!icon) return;
    SDL_SetWindowIcon(sdlWindow.window, icon);
    SDL_FreeSurface(icon);
}

void fileSaved(const std::string& /*path*/) {} // the desktop's files are the file system's
void fileRemoved(const std::string& /*path*/) {}

FileKept fileKept(const std::string& /*path*/, std::string& /*problem*/) { return FileKept::yes; }

} // namespace backend
