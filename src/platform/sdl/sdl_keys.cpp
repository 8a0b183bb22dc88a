// The keyboard of the SDL backend: set-1 codes for the rules (through the set-1
// table) and the key positions, which are SDL's scan codes, for the key map around
// them. A key tapped and released between two frame boundaries still counts as down
// for that frame.
#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_events.h"
#include "platform/key_positions.h"
#include "platform/set_one_keys.h"

namespace {

// The positions are SDL's scan codes: the shared tables name them without SDL.
static_assert(key_position::COUNT == SDL_NUM_SCANCODES && key_position::A == SDL_SCANCODE_A &&
              key_position::DIGIT_1 == SDL_SCANCODE_1 && key_position::RETURN == SDL_SCANCODE_RETURN &&
              key_position::ESCAPE == SDL_SCANCODE_ESCAPE && key_position::BACKSPACE == SDL_SCANCODE_BACKSPACE &&
              key_position::TAB == SDL_SCANCODE_TAB && key_position::SPACE == SDL_SCANCODE_SPACE &&
              key_position::MINUS == SDL_SCANCODE_MINUS && key_position::EQUALS == SDL_SCANCODE_EQUALS &&
              key_position::LEFT_BRACKET == SDL_SCANCODE_LEFTBRACKET &&
              key_position::RIGHT_BRACKET == SDL_SCANCODE_RIGHTBRACKET &&
              key_position::BACKSLASH == SDL_SCANCODE_BACKSLASH && key_position::SEMICOLON == SDL_SCANCODE_SEMICOLON &&
              key_position::APOSTROPHE == SDL_SCANCODE_APOSTROPHE && key_position::GRAVE == SDL_SCANCODE_GRAVE &&
              key_position::COMMA == SDL_SCANCODE_COMMA && key_position::PERIOD == SDL_SCANCODE_PERIOD &&
              key_position::SLASH == SDL_SCANCODE_SLASH && key_position::CAPS_LOCK == SDL_SCANCODE_CAPSLOCK &&
              key_position::F1 == SDL_SCANCODE_F1 && key_position::F1 + 11 == SDL_SCANCODE_F12 &&
              key_position::SCROLL_LOCK == SDL_SCANCODE_SCROLLLOCK && key_position::PAUSE == SDL_SCANCODE_PAUSE &&
              key_position::INSERT == SDL_SCANCODE_INSERT && key_position::HOME == SDL_SCANCODE_HOME &&
              key_position::PAGE_UP == SDL_SCANCODE_PAGEUP && key_position::DELETE == SDL_SCANCODE_DELETE &&
              key_position::END == SDL_SCANCODE_END && key_position::PAGE_DOWN == SDL_SCANCODE_PAGEDOWN &&
              key_position::RIGHT == SDL_SCANCODE_RIGHT && key_position::LEFT == SDL_SCANCODE_LEFT &&
              key_position::DOWN == SDL_SCANCODE_DOWN && key_position::UP == SDL_SCANCODE_UP &&
              key_position::NUM_LOCK == SDL_SCANCODE_NUMLOCKCLEAR &&
              key_position::KEYPAD_DIVIDE == SDL_SCANCODE_KP_DIVIDE &&
              key_position::KEYPAD_MULTIPLY == SDL_SCANCODE_KP_MULTIPLY &&
              key_position::KEYPAD_MINUS == SDL_SCANCODE_KP_MINUS &&
              key_position::KEYPAD_PLUS == SDL_SCANCODE_KP_PLUS &&
              key_position::KEYPAD_ENTER == SDL_SCANCODE_KP_ENTER && key_position::KEYPAD_1 == SDL_SCANCODE_KP_1 &&
              key_position::KEYPAD_1 + 9 == SDL_SCANCODE_KP_0 &&
              key_position::KEYPAD_PERIOD == SDL_SCANCODE_KP_PERIOD &&
              key_position::LEFT_CTRL == SDL_SCANCODE_LCTRL && key_position::LEFT_SHIFT == SDL_SCANCODE_LSHIFT &&
              key_position::LEFT_ALT == SDL_SCANCODE_LALT && key_position::RIGHT_CTRL == SDL_SCANCODE_RCTRL &&
              key_position::RIGHT_SHIFT == SDL_SCANCODE_RSHIFT && key_position::RIGHT_ALT == SDL_SCANCODE_RALT);

bool isDown(int key)
{
    if (!key_position::valid(key)) return false;
    return SDL_GetKeyboardState(nullptr)[key] || sdl::tapped(SDL_Scancode(key));
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

bool KEY_HELD(int key) { return isDown(key); }

bool KEY_DOWN_NOW(int key) { return key_position::valid(key) && SDL_GetKeyboardState(nullptr)[key]; }

bool KEY_PRESSED(int key) { return key_position::valid(key) && sdl::tapped(SDL_Scancode(key)); }

void CANCEL_CLOSE() { sdl::cancelClose(); }
