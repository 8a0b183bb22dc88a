// The set-1 table: which SDL key positions give each scan code.
#include "platform/set_one_keys.h"

namespace set_one {

namespace {

constexpr std::array<KeyPair, kCodes> makeSetOneTable()
{
    std::array<KeyPair, kCodes> t{};
    t[1] = {SDL_SCANCODE_ESCAPE};
    const SDL_Scancode digits[] = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4, SDL_SCANCODE_5,
                                   SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9, SDL_SCANCODE_0};
    for (int i = 0; i < 10; ++i) t[2 + i] = {digits[i]};
    t[12] = {SDL_SCANCODE_MINUS};
    t[13] = {SDL_SCANCODE_EQUALS};
    t[14] = {SDL_SCANCODE_BACKSPACE};
    t[15] = {SDL_SCANCODE_TAB};
    const SDL_Scancode topRow[] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E, SDL_SCANCODE_R,
                                   SDL_SCANCODE_T, SDL_SCANCODE_Y, SDL_SCANCODE_U, SDL_SCANCODE_I,
                                   SDL_SCANCODE_O, SDL_SCANCODE_P, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET};
    for (int i = 0; i < 12; ++i) t[16 + i] = {topRow[i]};
    t[28] = {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER};
    t[29] = {SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL};
    const SDL_Scancode homeRow[] = {SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_F,
                                    SDL_SCANCODE_G, SDL_SCANCODE_H, SDL_SCANCODE_J, SDL_SCANCODE_K,
                                    SDL_SCANCODE_L, SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_GRAVE};
    for (int i = 0; i < 12; ++i) t[30 + i] = {homeRow[i]};
    t[42] = {SDL_SCANCODE_LSHIFT};
    t[43] = {SDL_SCANCODE_BACKSLASH};
    const SDL_Scancode bottomRow[] = {SDL_SCANCODE_Z, SDL_SCANCODE_X,     SDL_SCANCODE_C,      SDL_SCANCODE_V,
                                      SDL_SCANCODE_B, SDL_SCANCODE_N,     SDL_SCANCODE_M,      SDL_SCANCODE_COMMA,
                                      SDL_SCANCODE_PERIOD, SDL_SCANCODE_SLASH};
    for (int i = 0; i < 10; ++i) t[44 + i] = {bottomRow[i]};
    t[53].alternate = SDL_SCANCODE_KP_DIVIDE;
    t[54] = {SDL_SCANCODE_RSHIFT};
    t[55] = {SDL_SCANCODE_KP_MULTIPLY};
    t[56] = {SDL_SCANCODE_LALT, SDL_SCANCODE_RALT};
    t[57] = {SDL_SCANCODE_SPACE};
    t[58] = {SDL_SCANCODE_CAPSLOCK};
    for (int i = 0; i < 10; ++i) t[59 + i] = {SDL_Scancode(SDL_SCANCODE_F1 + i)};
    t[69] = {SDL_SCANCODE_NUMLOCKCLEAR};
    t[70] = {SDL_SCANCODE_SCROLLLOCK};
    t[71] = {SDL_SCANCODE_HOME, SDL_SCANCODE_KP_7};
    t[72] = {SDL_SCANCODE_UP, SDL_SCANCODE_KP_8};
    t[73] = {SDL_SCANCODE_PAGEUP, SDL_SCANCODE_KP_9};
    t[74] = {SDL_SCANCODE_KP_MINUS};
    t[75] = {SDL_SCANCODE_LEFT, SDL_SCANCODE_KP_4};
    t[76] = {SDL_SCANCODE_KP_5};
    t[77] = {SDL_SCANCODE_RIGHT, SDL_SCANCODE_KP_6};
    t[78] = {SDL_SCANCODE_KP_PLUS};
    t[79] = {SDL_SCANCODE_END, SDL_SCANCODE_KP_1};
    t[80] = {SDL_SCANCODE_DOWN, SDL_SCANCODE_KP_2};
    t[81] = {SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_KP_3};
    t[82] = {SDL_SCANCODE_INSERT, SDL_SCANCODE_KP_0};
    t[83] = {SDL_SCANCODE_DELETE, SDL_SCANCODE_KP_PERIOD};
    t[87] = {SDL_SCANCODE_F11};
    t[88] = {SDL_SCANCODE_F12};
    return t;
}

const std::array<KeyPair, kCodes> kTable = makeSetOneTable();

} // namespace

const KeyPair& keysOf(int scanCode)
{
    static const KeyPair none;
    return scanCode >= 0 && scanCode < kCodes ? kTable[scanCode] : none;
}

} // namespace set_one
