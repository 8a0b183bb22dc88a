// The browser backend's keyboard and focus. Keys are found by KeyboardEvent.code,
// the key's place whatever the layout prints on it, and kept by key position as the
// other backends keep them. Events arrive between frames; a key tapped and released
// between two frames counts as down for the whole frame after them, its end too (where
// the game asks for Escape, after the frame's boundary), as a desktop tap fetched at
// one boundary counts until the next. The
// page losing the focus, or its tab being hidden, is reported once as a lost focus;
// the browser sends no key-up for keys held then, so they are let go.
#include "platform/backend.h"
#include "platform/key_positions.h"
#include "platform/platform.h"
#include "platform/set_one_keys.h"
#include "platform/web/web_page.h"

#include <emscripten/html5.h>

#include <array>
#include <cstring>

namespace {

struct Keyboard {
    bool listening = false;
    std::array<bool, key_position::COUNT> down{};
    std::array<bool, key_position::COUNT> arrived{}; // tapped since this frame began
    std::array<bool, key_position::COUNT> tapped{};  // tapped before it: what this frame sees
    bool focusLost = false;
};

Keyboard keyboard;

void press(int position)
{
    if (!key_position::valid(position)) return;
    keyboard.down[position] = true;
    keyboard.arrived[position] = true;
}

// A chord typed quicker than a frame may have its modifier up again before the key's
// own tap is read: the modifiers held at the key's press are latched with it.
void latchModifiers(const EmscriptenKeyboardEvent& event)
{
    if (event.ctrlKey) keyboard.arrived[key_position::LEFT_CTRL] = true;
    if (event.shiftKey) keyboard.arrived[key_position::LEFT_SHIFT] = true;
    if (event.altKey) keyboard.arrived[key_position::LEFT_ALT] = true;
}

// The browser keeps its own meaning of reload and of the system's shortcuts; every
// other key is the program's, so arrows and Space do not scroll the page.
bool browsersKey(const EmscriptenKeyboardEvent& event)
{
    const int position = key_position::byBrowserCode(event.code);
    return event.metaKey || position == key_position::F1 + 4 ||
           (event.ctrlKey && position == key_position::A + ('R' - 'A'));
}

// The browser names a key that types by the one character it types ("a", "é"), any
// other by a word ("Enter"); shortcuts with Ctrl or the system's key type nothing.
bool typesText(const EmscriptenKeyboardEvent& event)
{
    const auto lead = static_cast<unsigned char>(event.key[0]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return lead != 0 && std::strlen(event.key) == length && !event.ctrlKey && !event.metaKey;
}

EM_BOOL onKeyDown(int /*type*/, const EmscriptenKeyboardEvent* event, void* /*data*/)
{
    if (!event->repeat) {
        press(key_position::byBrowserCode(event->code));
        latchModifiers(*event);
    }
    if (typesText(*event)) backend::textTyped(event->key); // a held key types again, as in any text field
    return !browsersKey(*event);
}

EM_BOOL onKeyUp(int /*type*/, const EmscriptenKeyboardEvent* event, void* /*data*/)
{
    const int position = key_position::byBrowserCode(event->code);
    if (key_position::valid(position)) keyboard.down[position] = false;
    return !browsersKey(*event);
}

void loseFocus()
{
    keyboard.focusLost = true;
    keyboard.down.fill(false);
}

EM_BOOL onBlur(int /*type*/, const EmscriptenFocusEvent* /*event*/, void* /*data*/)
{
    loseFocus();
    return false;
}

EM_BOOL onVisibility(int /*type*/, const EmscriptenVisibilityChangeEvent* event, void* /*data*/)
{
    if (event->hidden) loseFocus();
    web::pageHidden(event->hidden);
    return false;
}

bool isDown(int position)
{
    return key_position::valid(position) && (keyboard.down[position] || keyboard.tapped[position]);
}

} // namespace

void web::startKeyFrame()
{
    keyboard.tapped = keyboard.arrived;
    keyboard.arrived.fill(false);
}

void web::listenToPage()
{
    if (keyboard.listening) return;
    keyboard.listening = true;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, true, onKeyDown);
    emscripten_set_keyup_callback(window, nullptr, true, onKeyUp);
    emscripten_set_blur_callback(window, nullptr, true, onBlur);
    emscripten_set_visibilitychange_callback(nullptr, true, onVisibility);
    web::listenToMouse();
}

namespace backend {

// Key events carry their text whether or not it is wanted; the shared part keeps it
// only while text input is on.
void startTextInput() {}
void stopTextInput() {}

void pumpEvents(bool frameBoundary)
{
    // The browser delivers events between frames, so there is nothing to fetch here,
    // and no tap came in since the frame began: taps are forgotten as the next frame
    // begins instead (startKeyFrame).
    if (!frameBoundary) return;
    keyboard.focusLost = false;
    web::startPadFrame();
}

bool keyDown(int scanCode)
{
    const set_one::KeyPair& pair = set_one::keysOf(scanCode);
    return isDown(pair.main) || isDown(pair.alternate);
}

} // namespace backend

bool KEY_HELD(int key) { return isDown(key); }

bool KEY_DOWN_NOW(int key) { return key_position::valid(key) && keyboard.down[key]; }

bool KEY_PRESSED(int key) { return key_position::valid(key) && keyboard.tapped[key]; }

// A page has no close button of its own: the tab's closes the page, program and all.
void CANCEL_CLOSE() {}

bool FOCUS_LOST() { return keyboard.focusLost; }

// A page cannot wait for events: they arrive once this frame has returned.
void WAIT_EVENTS(int /*milliseconds*/) { backend::pumpEvents(true); }
