// The PC keyboard's set-1 scan codes that the rules poll, mapped onto the key
// positions (key_positions.h). Set 1 gives the arrow block and the numeric keypad the same codes (the
// arrows differ only by a prefix byte), so such a code has a second key.
#pragma once

#include "platform/key_positions.h"

namespace set_one {

struct KeyPair {
    int main = key_position::NONE;
    int alternate = key_position::NONE;
};

constexpr int kCodes = 128;

// The keys of each set-1 code; both NONE for codes no key gives.
const KeyPair& keysOf(int scanCode);

} // namespace set_one
