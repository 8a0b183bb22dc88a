// The screen both backends share: the renderer's framebuffer, which the program draws
// into while locked. Presentation happens only when the outermost lock is released,
// so a frame is always shown whole; only the rows marked as changed are handed on.
#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/screen_overlay.h"
#include "render/framebuffer.h"
#include "render/image.h"

#include <algorithm>

namespace {

constexpr uint32_t kBackground = 0xFF000000;

struct Screen {
    bool open = false;
    int lockCount = 0;
    int dirtyFirst = SCREEN_HEIGHT; // empty range: first > last
    int dirtyLast = -1;
    std::string title = "window";
    std::vector<uint32_t> icon; // packed rows, empty for none
    int iconWidth = 0, iconHeight = 0;
    backend::WindowMode mode;
    std::string error;
    ScreenOverlay overlay;
};

Screen screen;

void markRows(int first, int last)
{
    if (first < 0) first = 0;
    if (last < 0) last = SCREEN_HEIGHT - 1;
    if (last >= SCREEN_HEIGHT || first > last) return;
    screen.dirtyFirst = std::min(screen.dirtyFirst, first);
    screen.dirtyLast = std::max(screen.dirtyLast, last);
}

void presentDirtyRows()
{
    if (screen.dirtyFirst <= screen.dirtyLast) {
        const uint32_t* shown = framebufferPixels();
        if (anyOverlay(screen.overlay)) shown = composeOverlay(screen.overlay, shown, screen.dirtyFirst, screen.dirtyLast);
        backend::present(reinterpret_cast<const uint8_t*>(shown), SCREEN_PITCH, screen.dirtyFirst, screen.dirtyLast);
    }
    screen.dirtyFirst = SCREEN_HEIGHT;
    screen.dirtyLast = -1;
}

} // namespace

int SCREEN_OPEN(int width, int height, int depth, int pages, int /*flags*/, int /*rate*/)
{
    if (screen.open) return 0;
    if (width != SCREEN_WIDTH || height != SCREEN_HEIGHT || depth != 32 || pages != 1) {
        screen.error = "only a 640 x 480 x 32 screen with one page is supported";
        return 1;
    }
    if (!backend::open(screen.title, screen.mode, screen.error)) return 1;
    if (!screen.icon.empty()) backend::setIcon(screen.icon.data(), screen.iconWidth, screen.iconHeight);
    openFramebuffer(kBackground);
    screen.open = true;
    screen.lockCount = 0;
    screen.error.clear();
    return 0;
}

std::string SCREEN_ERROR() { return screen.error; }

void SCREEN_TITLE(const std::string& title)
{
    screen.title = title;
    if (screen.open) backend::setTitle(title);
}

void SCREEN_ICON(const Image* icon)
{
    screen.icon.clear();
    screen.iconWidth = icon ? int(icon->width) : 0;
    screen.iconHeight = icon ? int(icon->height) : 0;
    for (int y = 0; y < screen.iconHeight; ++y) {
        const uint32_t* row = imageRow(icon, uint32_t(y));
        screen.icon.insert(screen.icon.end(), row, row + screen.iconWidth);
    }
    if (screen.open) backend::setIcon(screen.icon.empty() ? nullptr : screen.icon.data(), screen.iconWidth, screen.iconHeight);
}

void SCREEN_WINDOW_MODE(int scale, bool fullscreen)
{
    screen.mode = {scale, fullscreen};
    if (screen.open) backend::applyMode(screen.mode);
}

bool SCREEN_FULLSCREEN() { return screen.open ? backend::fullscreen() : screen.mode.fullscreen; }

int SCREEN_LARGEST_SCALE() { return backend::largestScale(); }

void SCREEN_CLOSE()
{
    if (!screen.open) return;
    backend::close();
    closeFramebuffer();
    // What was set for the window outlives it, for the next one to open.
    Screen closed;
    closed.title = std::move(screen.title);
    closed.icon = std::move(screen.icon);
    closed.iconWidth = screen.iconWidth;
    closed.iconHeight = screen.iconHeight;
    screen = std::move(closed);
}

void SCREEN_LOCK() { ++screen.lockCount; }

void SCREEN_UNLOCK(int firstRow, int lastRow)
{
    if (screen.lockCount == 0) return;
    markRows(firstRow, lastRow);
    if (--screen.lockCount > 0) return;
    if (screen.open) {
        presentDirtyRows();
        backend::pumpEvents(true);
    }
}

uint8_t* SCREEN_POINTER() { return reinterpret_cast<uint8_t*>(framebufferPixels()); }

void SCREEN_INFO(int& width, int& height, int& depth, int& bytesPerPixel, int& pitch, int& rate)
{
    width = SCREEN_WIDTH;
    height = SCREEN_HEIGHT;
    depth = 32;
    bytesPerPixel = 4;
    pitch = SCREEN_PITCH;
    rate = 0;
}

void SCREEN_CLEAR()
{
    if (!screen.open || screenPixelsSkipped()) return;
    SCREEN_LOCK();
    std::fill_n(framebufferPixels(), SCREEN_WIDTH * SCREEN_HEIGHT, kBackground);
    SCREEN_UNLOCK();
}

void SCREEN_OVERLAY(const Image* overlay, int x, int y, int layer)
{
    if (layer < 0 || layer >= OVERLAY_LAYERS) return;
    OverlayPicture& laid = screen.overlay.layers[size_t(layer)];
    if (overlay == laid.picture && x == laid.x && y == laid.y) return;
    laid = {overlay, x, y};
    // Everything is shown anew: the copy the overlay is composed in then holds the whole screen.
    markRows(-1, -1);
}

void WAIT_VSYNC()
{
    // Presentation is synchronised with the display's retrace already, so there is
    // nothing left to wait for here.
}

void PUMP_EVENTS() { backend::pumpEvents(true); }
