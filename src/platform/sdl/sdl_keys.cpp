// The keyboard of the SDL backend: set-1 codes for the rules (through the set-1
// table) and SDL's own key positions for the key map around them. A key tapped and
// released between two frame boundaries still counts as down for that frame.
#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_events.h"
#include "platform/set_one_keys.h"

namespace {

bool isDown(SDL_Scancode key)
{
    if (key <= SDL_SCANCODE_UNKNOWN || key >= SDL_NUM_SCANCODES) return false;
    return SDL_GetKeyboardState(nullptr)[key] || sdl::tapped(key);
}

} // namespace

namespace backend {

bool keyDown(int scanCode)
{
    if (scanCode == scancode::ESCAPE && sdl::closeRequested()) return true;
    const set_one::KeyPair& pair = set_one::keysOf(scanCode);
    return isDown(pair.main) || isDown(pair.alternate);
}

} // namespace backend

bool KEY_HELD(int key) { return isDown(SDL_Scancode(key)); }

bool KEY_PRESSED(int key) { return key > SDL_SCANCODE_UNKNOWN && key < SDL_NUM_SCANCODES && sdl::tapped(SDL_Scancode(key)); }

void CANCEL_CLOSE() { sdl::cancelClose(); }
