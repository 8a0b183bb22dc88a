// The set-1 table: which key positions give each scan code.
#include "platform/set_one_keys.h"

#include <array>

namespace set_one {

namespace {

constexpr std::array<KeyPair, kCodes> makeSetOneTable()
{
    using namespace key_position;
    std::array<KeyPair, kCodes> t{};
    t[1] = {ESCAPE};
    for (int i = 0; i < 10; ++i) t[2 + i] = {DIGIT_1 + i}; // 1 .. 9, 0
    t[12] = {MINUS};
    t[13] = {EQUALS};
    t[14] = {BACKSPACE};
    t[15] = {TAB};
    const char topRow[] = "QWERTYUIOP";
    for (int i = 0; i < 10; ++i) t[16 + i] = {A + (topRow[i] - 'A')};
    t[26] = {LEFT_BRACKET};
    t[27] = {RIGHT_BRACKET};
    t[28] = {RETURN, KEYPAD_ENTER};
    t[29] = {LEFT_CTRL, RIGHT_CTRL};
    const char homeRow[] = "ASDFGHJKL";
    for (int i = 0; i < 9; ++i) t[30 + i] = {A + (homeRow[i] - 'A')};
    t[39] = {SEMICOLON};
    t[40] = {APOSTROPHE};
    t[41] = {GRAVE};
    t[42] = {LEFT_SHIFT};
    t[43] = {BACKSLASH};
    const char bottomRow[] = "ZXCVBNM";
    for (int i = 0; i < 7; ++i) t[44 + i] = {A + (bottomRow[i] - 'A')};
    t[51] = {COMMA};
    t[52] = {PERIOD};
    t[53] = {SLASH, KEYPAD_DIVIDE};
    t[54] = {RIGHT_SHIFT};
    t[55] = {KEYPAD_MULTIPLY};
    t[56] = {LEFT_ALT, RIGHT_ALT};
    t[57] = {SPACE};
    t[58] = {CAPS_LOCK};
    for (int i = 0; i < 10; ++i) t[59 + i] = {F1 + i};
    t[69] = {NUM_LOCK};
    t[70] = {SCROLL_LOCK};
    // Set 1 gives the arrow block and the keypad's digits the same codes.
    constexpr int kKeypad0 = KEYPAD_1 + 9;
    t[71] = {HOME, KEYPAD_1 + 6};
    t[72] = {UP, KEYPAD_1 + 7};
    t[73] = {PAGE_UP, KEYPAD_1 + 8};
    t[74] = {KEYPAD_MINUS};
    t[75] = {LEFT, KEYPAD_1 + 3};
    t[76] = {KEYPAD_1 + 4};
    t[77] = {RIGHT, KEYPAD_1 + 5};
    t[78] = {KEYPAD_PLUS};
    t[79] = {END, KEYPAD_1};
    t[80] = {DOWN, KEYPAD_1 + 1};
    t[81] = {PAGE_DOWN, KEYPAD_1 + 2};
    t[82] = {INSERT, kKeypad0};
    t[83] = {DELETE, KEYPAD_PERIOD};
    t[87] = {F1 + 10};
    t[88] = {F1 + 11};
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
