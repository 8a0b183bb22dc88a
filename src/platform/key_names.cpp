// The names of the key positions, as SDL names them, so that a settings file written
// for one backend reads the same on every other; a native test holds the table
// against SDL's own for every position. Names are found without regard to case, and
// where two positions share a name ("Return"), the lower one is meant.
#include "platform/key_positions.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

struct KeyName {
    constexpr KeyName() = default;
    constexpr KeyName(int position, std::string_view name, std::string_view browserCode = {})
        : position(position), name(name), browserCode(browserCode)
    {
    }
    int position = key_position::NONE;
    std::string_view name;
    std::string_view browserCode; // empty where browsers give the key no code of its own
};

constexpr KeyName kNamedKeys[] = {
    {40, "Return", "Enter"}, {41, "Escape", "Escape"}, {42, "Backspace", "Backspace"}, {43, "Tab", "Tab"},
    {44, "Space", "Space"}, {45, "-", "Minus"}, {46, "=", "Equal"}, {47, "[", "BracketLeft"},
    {48, "]", "BracketRight"}, {49, "\\", "Backslash"}, {51, ";", "Semicolon"}, {52, "'", "Quote"},
    {53, "`", "Backquote"}, {54, ",", "Comma"}, {55, ".", "Period"}, {56, "/", "Slash"},
    {57, "CapsLock", "CapsLock"}, {70, "PrintScreen", "PrintScreen"}, {71, "ScrollLock", "ScrollLock"},
    {72, "Pause", "Pause"}, {73, "Insert", "Insert"}, {74, "Home", "Home"}, {75, "PageUp", "PageUp"},
    {76, "Delete", "Delete"}, {77, "End", "End"}, {78, "PageDown", "PageDown"}, {79, "Right", "ArrowRight"},
    {80, "Left", "ArrowLeft"}, {81, "Down", "ArrowDown"}, {82, "Up", "ArrowUp"}, {83, "Numlock", "NumLock"},
    {84, "Keypad /", "NumpadDivide"}, {85, "Keypad *", "NumpadMultiply"}, {86, "Keypad -", "NumpadSubtract"},
    {87, "Keypad +", "NumpadAdd"}, {88, "Keypad Enter", "NumpadEnter"}, {99, "Keypad .", "NumpadDecimal"},
    {101, "Application", "ContextMenu"}, {102, "Power", "Power"}, {103, "Keypad =", "NumpadEqual"},
    {117, "Help", "Help"}, {127, "Mute", "AudioVolumeMute"}, {128, "VolumeUp", "AudioVolumeUp"},
    {129, "VolumeDown", "AudioVolumeDown"}, {133, "Keypad ,", "NumpadComma"}, {224, "Left Ctrl", "ControlLeft"},
    {225, "Left Shift", "ShiftLeft"}, {226, "Left Alt", "AltLeft"}, {227, "Left GUI", "MetaLeft"},
    {228, "Right Ctrl", "ControlRight"}, {229, "Right Shift", "ShiftRight"}, {230, "Right Alt", "AltRight"},
    {231, "Right GUI", "MetaRight"},
    {50, "#"}, {116, "Execute"}, {118, "Menu"}, {119, "Select"}, {120, "Stop"}, {121, "Again"}, {122, "Undo"},
    {123, "Cut"}, {124, "Copy"}, {125, "Paste"}, {126, "Find"}, {134, "Keypad = (AS400)"}, {153, "AltErase"},
    {154, "SysReq"}, {155, "Cancel"}, {156, "Clear"}, {157, "Prior"}, {158, "Return"}, {159, "Separator"},
    {160, "Out"}, {161, "Oper"}, {162, "Clear / Again"}, {163, "CrSel"}, {164, "ExSel"}, {176, "Keypad 00"},
    {177, "Keypad 000"}, {178, "ThousandsSeparator"}, {179, "DecimalSeparator"}, {180, "CurrencyUnit"},
    {181, "CurrencySubUnit"}, {182, "Keypad ("}, {183, "Keypad )"}, {184, "Keypad {"}, {185, "Keypad }"},
    {186, "Keypad Tab"}, {187, "Keypad Backspace"}, {188, "Keypad A"}, {189, "Keypad B"}, {190, "Keypad C"},
    {191, "Keypad D"}, {192, "Keypad E"}, {193, "Keypad F"}, {194, "Keypad XOR"}, {195, "Keypad ^"},
    {196, "Keypad %"}, {197, "Keypad <"}, {198, "Keypad >"}, {199, "Keypad &"}, {200, "Keypad &&"},
    {201, "Keypad |"}, {202, "Keypad ||"}, {203, "Keypad :"}, {204, "Keypad #"}, {205, "Keypad Space"},
    {206, "Keypad @"}, {207, "Keypad !"}, {208, "Keypad MemStore"}, {209, "Keypad MemRecall"},
    {210, "Keypad MemClear"}, {211, "Keypad MemAdd"}, {212, "Keypad MemSubtract"}, {213, "Keypad MemMultiply"},
    {214, "Keypad MemDivide"}, {215, "Keypad +/-"}, {216, "Keypad Clear"}, {217, "Keypad ClearEntry"},
    {218, "Keypad Binary"}, {219, "Keypad Octal"}, {220, "Keypad Decimal"}, {221, "Keypad Hexadecimal"},
    {257, "ModeSwitch"}, {258, "AudioNext"}, {259, "AudioPrev"}, {260, "AudioStop"}, {261, "AudioPlay"},
    {262, "AudioMute"}, {263, "MediaSelect"}, {264, "WWW"}, {265, "Mail"}, {266, "Calculator"},
    {267, "Computer"}, {268, "AC Search"}, {269, "AC Home"}, {270, "AC Back"}, {271, "AC Forward"},
    {272, "AC Stop"}, {273, "AC Refresh"}, {274, "AC Bookmarks"}, {275, "BrightnessDown"},
    {276, "BrightnessUp"}, {277, "DisplaySwitch"}, {278, "KBDIllumToggle"}, {279, "KBDIllumDown"},
    {280, "KBDIllumUp"}, {281, "Eject"}, {282, "Sleep"}, {283, "App1"}, {284, "App2"}, {285, "AudioRewind"},
    {286, "AudioFastForward"}, {287, "SoftLeft"}, {288, "SoftRight"}, {289, "Call"}, {290, "EndCall"},
};

// The regular runs of the usage table, and the named keys in their places.
constexpr std::array<KeyName, key_position::COUNT> makeKeyTable()
{
    using namespace key_position;
    constexpr std::string_view letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                            "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    constexpr std::string_view letterCodes[] = {"KeyA", "KeyB", "KeyC", "KeyD", "KeyE", "KeyF", "KeyG",
                                                "KeyH", "KeyI", "KeyJ", "KeyK", "KeyL", "KeyM", "KeyN",
                                                "KeyO", "KeyP", "KeyQ", "KeyR", "KeyS", "KeyT", "KeyU",
                                                "KeyV", "KeyW", "KeyX", "KeyY", "KeyZ"};
    constexpr std::string_view digits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    constexpr std::string_view digitCodes[] = {"Digit1", "Digit2", "Digit3", "Digit4", "Digit5",
                                               "Digit6", "Digit7", "Digit8", "Digit9", "Digit0"};
    constexpr std::string_view keypad[] = {"Keypad 1", "Keypad 2", "Keypad 3", "Keypad 4", "Keypad 5",
                                           "Keypad 6", "Keypad 7", "Keypad 8", "Keypad 9", "Keypad 0"};
    constexpr std::string_view keypadCodes[] = {"Numpad1", "Numpad2", "Numpad3", "Numpad4", "Numpad5",
                                                "Numpad6", "Numpad7", "Numpad8", "Numpad9", "Numpad0"};
    constexpr std::string_view functionKeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                                 "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                                 "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    constexpr int kF13 = 104;

    std::array<KeyName, COUNT> table{};
    for (int i = 0; i < 26; ++i) table[A + i] = {A + i, letters[i], letterCodes[i]};
    for (int i = 0; i < 10; ++i) table[DIGIT_1 + i] = {DIGIT_1 + i, digits[i], digitCodes[i]};
    for (int i = 0; i < 10; ++i) table[KEYPAD_1 + i] = {KEYPAD_1 + i, keypad[i], keypadCodes[i]};
    for (int i = 0; i < 24; ++i) {
        const int position = i < 12 ? F1 + i : kF13 + i - 12;
        table[position] = {position, functionKeys[i], functionKeys[i]};
    }
    for (const KeyName& key : kNamedKeys) table[key.position] = key;
    return table;
}

constexpr std::array<KeyName, key_position::COUNT> kKeys = makeKeyTable();

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

int KEY_BY_NAME(const std::string& name)
{
    if (name.empty()) return key_position::NONE;
    const auto found = std::find_if(kKeys.begin(), kKeys.end(), [&name](const KeyName& key) {
        return !key.name.empty() && sameIgnoringCase(key.name, name);
    });
    return found == kKeys.end() ? key_position::NONE : found->position;
}

std::string KEY_NAME(int key) { return key_position::valid(key) ? std::string(kKeys[key].name) : std::string(); }

int key_position::byBrowserCode(std::string_view code)
{
    if (code.empty()) return NONE;
    const auto found =
        std::find_if(kKeys.begin(), kKeys.end(), [code](const KeyName& key) { return key.browserCode == code; });
    return found == kKeys.end() ? NONE : found->position;
}
