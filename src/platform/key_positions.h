// Keys by their place on the keyboard, whatever letter the layout prints on them.
// Every backend numbers a position as the USB keyboard usage table does (SDL's scan
// codes follow it too), names it as SDL names it (the names a settings file uses),
// and the browser's backend finds it by the KeyboardEvent.code the browser gives it.
#pragma once

#include <string>
#include <string_view>

namespace key_position {

constexpr int NONE = 0;
constexpr int COUNT = 512; // positions are 1..COUNT - 1

// The positions the set-1 table and the backends name; the regular runs are counted
// from their first key (A + 3 is D, F1 + 11 is F12, KEYPAD_1 + 8 is Keypad 9).
constexpr int A = 4;        // .. Z = 29
constexpr int DIGIT_1 = 30; // .. 9 = 38, then 0 = 39
constexpr int RETURN = 40;
constexpr int ESCAPE = 41;
constexpr int BACKSPACE = 42;
constexpr int TAB = 43;
constexpr int SPACE = 44;
constexpr int MINUS = 45;
constexpr int EQUALS = 46;
constexpr int LEFT_BRACKET = 47;
constexpr int RIGHT_BRACKET = 48;
constexpr int BACKSLASH = 49;
constexpr int SEMICOLON = 51;
constexpr int APOSTROPHE = 52;
constexpr int GRAVE = 53;
constexpr int COMMA = 54;
constexpr int PERIOD = 55;
constexpr int SLASH = 56;
constexpr int CAPS_LOCK = 57;
constexpr int F1 = 58; // .. F12 = 69
constexpr int SCROLL_LOCK = 71;
constexpr int PAUSE = 72;
constexpr int INSERT = 73;
constexpr int HOME = 74;
constexpr int PAGE_UP = 75;
constexpr int DELETE = 76;
constexpr int END = 77;
constexpr int PAGE_DOWN = 78;
constexpr int RIGHT = 79;
constexpr int LEFT = 80;
constexpr int DOWN = 81;
constexpr int UP = 82;
constexpr int NUM_LOCK = 83;
constexpr int KEYPAD_DIVIDE = 84;
constexpr int KEYPAD_MULTIPLY = 85;
constexpr int KEYPAD_MINUS = 86;
constexpr int KEYPAD_PLUS = 87;
constexpr int KEYPAD_ENTER = 88;
constexpr int KEYPAD_1 = 89; // .. 9 = 97, then 0 = 98
constexpr int KEYPAD_PERIOD = 99;
constexpr int LEFT_CTRL = 224;
constexpr int LEFT_SHIFT = 225;
constexpr int LEFT_ALT = 226;
constexpr int RIGHT_CTRL = 228;
constexpr int RIGHT_SHIFT = 229;
constexpr int RIGHT_ALT = 230;

constexpr bool valid(int position) { return position > NONE && position < COUNT; }

// The position of a browser's KeyboardEvent.code ("KeyW", "ArrowUp"); NONE for a
// code no position has.
int byBrowserCode(std::string_view code);

} // namespace key_position
