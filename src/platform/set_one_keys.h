// The PC keyboard's set-1 scan codes that the rules poll, mapped onto SDL's key
// positions. Set 1 gives the arrow block and the numeric keypad the same codes (the
// arrows differ only by a prefix byte), so such a code has a second key.
#pragma once

#include <SDL_scancode.h>

#include <array>

namespace set_one {

struct KeyPair {
    SDL_Scancode main = SDL_SCANCODE_UNKNOWN;
    SDL_Scancode alternate = SDL_SCANCODE_UNKNOWN;
};

constexpr int kCodes = 128;

// The keys of each set-1 code; both unknown for codes no key gives.
const KeyPair& keysOf(int scanCode);

} // namespace set_one
