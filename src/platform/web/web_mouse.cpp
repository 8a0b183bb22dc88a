// MOUSE_GET and MOUSE_SET for the browser backend. Positions come relative to the
// canvas in CSS pixels and are scaled to framebuffer pixels by the canvas's shown size
// (the page keeps its 4:3 shape, so there are no bars inside it). Presses are latched
// as their events arrive, so a click shorter than a frame is still seen. A page
// cannot move the pointer: MOUSE_SET only hides or shows it over the canvas.
#include "platform/platform.h"
#include "platform/press_latch.h"
#include "platform/web/canvas_scale.h"
#include "platform/web/web_page.h"

#include <emscripten.h>
#include <emscripten/html5.h>


namespace {

struct Mouse {
    bool over = false;
    int x = 0, y = 0;
    int buttons = 0; // MOUSE_LEFT, MOUSE_RIGHT, MOUSE_MIDDLE: the browser numbers them alike
    int wheel = 0;
    PressLatch pressLatch;
};

Mouse mouse;

// False off the picture.
bool framebufferPixel(const EmscriptenMouseEvent& event, int& x, int& y)
{
    double width = 0.0, height = 0.0;
    if (emscripten_get_element_css_size(web::kCanvas, &width, &height) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    return web::framebufferPixel(double(event.targetX), double(event.targetY), width, height, x, y);
}

// The button that changed, numbered 0 left, 1 middle, 2 right, as a button bit.
int buttonBit(unsigned short button)
{
    switch (button) {
    case 0: return MOUSE_LEFT;
    case 1: return MOUSE_MIDDLE;
    case 2: return MOUSE_RIGHT;
    default: return 0;
    }
}

void takeButtons(const EmscriptenMouseEvent& event)
{
    mouse.buttons = event.buttons & (MOUSE_LEFT | MOUSE_RIGHT | MOUSE_MIDDLE);
}

EM_BOOL onCanvasMouse(int type, const EmscriptenMouseEvent* event, void* /*data*/)
{
    takeButtons(*event);
    mouse.over = type != EMSCRIPTEN_EVENT_MOUSELEAVE && framebufferPixel(*event, mouse.x, mouse.y);
    const int pressed = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? buttonBit(event->button) : 0;
    if (pressed && mouse.over) mouse.pressLatch.press(pressed, mouse.x, mouse.y);
    return pressed != 0; // no text selection or dragging of the canvas
}

// A button let go anywhere, over the canvas or not.
EM_BOOL onMouseUp(int /*type*/, const EmscriptenMouseEvent* event, void* /*data*/)
{
    takeButtons(*event);
    return false;
}

EM_BOOL onWheel(int /*type*/, const EmscriptenWheelEvent* event, void* /*data*/)
{
    if (event->deltaY != 0.0) mouse.wheel += event->deltaY < 0.0 ? 1 : -1; // away from the user positive
    return true;
}

EM_JS(void, showPointer, (const char* selector, bool shown), {
    document.querySelector(UTF8ToString(selector)).style.cursor = shown ? "" : "none";
});

} // namespace

void web::listenToMouse()
{
    emscripten_set_mousedown_callback(kCanvas, nullptr, true, onCanvasMouse);
    emscripten_set_mousemove_callback(kCanvas, nullptr, true, onCanvasMouse);
    emscripten_set_mouseenter_callback(kCanvas, nullptr, true, onCanvasMouse);
    emscripten_set_mouseleave_callback(kCanvas, nullptr, true, onCanvasMouse);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, onMouseUp);
    emscripten_set_wheel_callback(kCanvas, nullptr, true, onWheel);
}

void MOUSE_GET(int& x, int& y, int& wheel, int& buttons, int& clip)
{
    x = y = wheel = buttons = clip = -1;
    if (!SCREEN_POINTER()) return;
    int held = mouse.over ? mouse.buttons : 0;
    int atX = mouse.x, atY = mouse.y;
    if (!mouse.pressLatch.fold(atX, atY, held) && !mouse.over) return;
    x = atX;
    y = atY;
    wheel = mouse.wheel;
    buttons = held;
    clip = 0;
}

void MOUSE_SET(int /*x*/, int /*y*/, int visibility, int /*clip*/)
{
    if (visibility >= 0) showPointer(web::kCanvas, visibility != 0);
}
