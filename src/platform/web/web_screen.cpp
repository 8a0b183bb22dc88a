// The browser backend's screen: the framebuffer put into the page's canvas at each
// presentation. The canvas keeps 640 x 480 pixels; the page scales it to the window
// with the 4:3 shape kept and sharp pixels (page.html), so no resampling happens here.
#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/web/web_page.h"

#include <emscripten.h>

#include <vector>

namespace {

// The canvas takes bytes R, G, B, A; the framebuffer's words 0xAARRGGBB lie in memory
// as B, G, R, A, and their alpha is never shown.
std::vector<uint32_t> canvasPixels;

uint32_t canvasPixel(uint32_t pixel)
{
    return 0xFF000000u | (pixel & 0x0000FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
}

} // namespace

EM_JS(bool, openCanvas, (const char* selector, int width, int height), {
    const canvas = document.querySelector(UTF8ToString(selector));
    if (!canvas) return false;
    canvas.width = width;
    canvas.height = height;
    Module.canvasContext = canvas.getContext("2d", {alpha : false});
    return !!Module.canvasContext;
});

EM_JS(void, showCanvasRows, (const uint32_t* pixels, int width, int firstRow, int rows), {
    const bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels + firstRow * width * 4, rows * width * 4);
    Module.canvasContext.putImageData(new ImageData(bytes, width, rows), 0, firstRow);
});

EM_JS(void, setPageTitle, (const char* title), { document.title = UTF8ToString(title); });

// A browser lets a page fill the screen only just after a key press or click (which
// the program reads a frame later, still within that grace); a refusal changes nothing.
EM_JS(void, askPageFullscreen, (bool fullscreen), {
    if (fullscreen === !!document.fullscreenElement) return;
    if (fullscreen) document.documentElement.requestFullscreen().catch(() => {});
    else document.exitFullscreen().catch(() => {});
});

EM_JS(bool, pageFullscreen, (), { return !!document.fullscreenElement; });

namespace backend {

bool open(const std::string& title, const WindowMode& /*mode*/, std::string& error)
{
    // The window's size and fullscreen are the page's to choose: F11 (page.js).
    if (!openCanvas(web::kCanvas, SCREEN_WIDTH, SCREEN_HEIGHT)) {
        error = "the page has no canvas to draw on";
        return false;
    }
    canvasPixels.assign(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT, 0xFF000000u);
    web::listenToPage();
    setPageTitle(title.c_str());
    return true;
}

void close() { std::vector<uint32_t>().swap(canvasPixels); }

void applyMode(const WindowMode& mode) { askPageFullscreen(mode.fullscreen); }

bool fullscreen() { return pageFullscreen(); }

int largestScale() { return 0; }

void present(const uint8_t* pixels, int pitch, int firstRow, int lastRow)
{
    for (int y = firstRow; y <= lastRow; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(pixels + size_t(y) * size_t(pitch));
        uint32_t* out = canvasPixels.data() + size_t(y) * SCREEN_WIDTH;
        for (int x = 0; x < SCREEN_WIDTH; ++x) out[x] = canvasPixel(row[x]);
    }
    showCanvasRows(canvasPixels.data(), SCREEN_WIDTH, firstRow, lastRow - firstRow + 1);
}

void setTitle(const std::string& title) { setPageTitle(title.c_str()); }

void setIcon(const uint32_t* /*pixels*/, int /*width*/, int /*height*/) {} // the page's own icon stands

} // namespace backend
