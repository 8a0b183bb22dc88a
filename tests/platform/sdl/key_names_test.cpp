// The shared key-name table against SDL's own: a settings file names keys as SDL
// does, and must mean the same keys on every backend, SDL's included.
#include "platform/key_positions.h"
#include "platform/platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

TEST(KeyNames, EveryPositionHasSdlsNameAndEveryNameFindsSdlsPosition)
{
    for (int position = 0; position < SDL_NUM_SCANCODES; ++position) {
        const std::string sdlName = SDL_GetScancodeName(SDL_Scancode(position));
        EXPECT_EQ(KEY_NAME(position), sdlName) << position;
        if (sdlName.empty()) continue;
        EXPECT_EQ(KEY_BY_NAME(sdlName), int(SDL_GetScancodeFromName(sdlName.c_str()))) << sdlName;
        std::string shouted = sdlName;
        for (char& c : shouted) c = char(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(KEY_BY_NAME(shouted), int(SDL_GetScancodeFromName(shouted.c_str()))) << shouted;
    }
    for (const char* unknown : {"", "Keypad", "Left  Ctrl", "F25"}) {
        EXPECT_EQ(KEY_BY_NAME(unknown), int(SDL_GetScancodeFromName(unknown))) << unknown;
    }
}

// The browser's codes for the keys the game and editor use lead to the same
// positions as SDL's names for them.
TEST(KeyNames, BrowserCodesFindTheSamePositionsAsSdlsNames)
{
    const struct {
        const char* code;
        const char* sdlName;
    } kSame[] = {{"KeyW", "W"},           {"Digit0", "0"},          {"ArrowUp", "Up"},
                 {"ArrowLeft", "Left"},   {"PageDown", "PageDown"}, {"Space", "Space"},
                 {"Enter", "Return"},     {"Escape", "Escape"},     {"ControlLeft", "Left Ctrl"},
                 {"ShiftRight", "Right Shift"}, {"Numpad8", "Keypad 8"}, {"NumpadEnter", "Keypad Enter"},
                 {"F12", "F12"},          {"F13", "F13"},           {"Insert", "Insert"},
                 {"Delete", "Delete"},    {"Pause", "Pause"},       {"Comma", ","}};
    for (const auto& key : kSame) {
        EXPECT_EQ(key_position::byBrowserCode(key.code), int(SDL_GetScancodeFromName(key.sdlName))) << key.code;
    }
    EXPECT_EQ(key_position::byBrowserCode("NoSuchKey"), key_position::NONE);
    EXPECT_EQ(key_position::byBrowserCode(""), key_position::NONE);
}
