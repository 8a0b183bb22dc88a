// The options' rules on the headless backend (for key names): one table of a turn's
// input against the settings and menu before it, and what the settings must be after.
#include "app/options_menu.h"

#include "platform/headless/headless.h"
#include "platform/key_positions.h"

#include <gtest/gtest.h>

namespace {

Settings settingsFrom(const std::string& text)
{
    Settings settings = defaultSettings();
    std::vector<std::string> warnings;
    applySettingsText(settings, text, "test", warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{}) << text;
    return settings;
}

// A turn's input with one thing in it.
template <typename Value>
MenuInput inputWith(Value MenuInput::*member, Value value)
{
    MenuInput input;
    input.*member = value;
    return input;
}

MenuInput keyInput(int key) { return inputWith(&MenuInput::key, key); }

MenuInput commandInput(MenuCommand command) { return inputWith(&MenuInput::command, command); }

MenuInput arrowClicked(int line, int arrow)
{
    MenuInput input = inputWith(&MenuInput::clickedLine, line);
    input.clickedArrow = arrow;
    return input;
}

OptionsMenu waitingFor(Action action)
{
    OptionsMenu menu;
    menu.controlsShown = true;
    menu.waitingFor = action;
    return menu;
}

OptionsMenu optionsAt(int line, int largestScale = 4, bool confirmingDefaults = false)
{
    OptionsMenu menu;
    menu.selected = line;
    menu.largestScale = largestScale;
    menu.confirmingDefaults = confirmingDefaults;
    return menu;
}

constexpr int kKeyP = key_position::A + 15;
constexpr int kVolumeLine = 0;
constexpr int kWindowLine = 3;
constexpr int kRestoreLine = 5;

} // namespace

TEST(OptionsMenu, EachTurnChangesTheSettingsAsThePlayerAsked)
{
    headless::reset();
    struct Case {
        const char* what;
        const char* start;    // settings text over the defaults
        OptionsMenu menu;
        MenuInput input;
        const char* expected; // settings text over the defaults
        const char* notice;   // part of what the player is told
    };
    const PadInput padA{PadInput::Kind::button, pad::A};
    const Case cases[] = {
        {"a volume between steps snaps up", "volume = 37", optionsAt(kVolumeLine), commandInput(MenuCommand::right),
         "volume = 40", ""},
        {"a volume between steps snaps down", "volume = 37", optionsAt(kVolumeLine), commandInput(MenuCommand::left),
         "volume = 30", ""},
        {"the volume stops at 100", "", optionsAt(kVolumeLine), commandInput(MenuCommand::right), "", ""},
        {"the volume's \"<\" clicked", "volume = 50", optionsAt(2), arrowClicked(kVolumeLine, -1),
         "volume = 40", ""},
        {"the window grows only as far as the desktop holds", "window_scale = 2", optionsAt(kWindowLine, 2),
         commandInput(MenuCommand::right), "window_scale = 2", ""},
        {"restore defaults asks first", "volume = 20", optionsAt(kRestoreLine), commandInput(MenuCommand::choose),
         "volume = 20", ""},
        {"restore defaults, asked", "volume = 20\nfire = F", optionsAt(kRestoreLine, 4, true),
         commandInput(MenuCommand::choose), "", "Defaults restored"},
        {"a key another action held moves", "", waitingFor(Action::thrust), keyInput(key_position::SPACE),
         "thrust = Up, Keypad 8, Space\nping =", "Space moved from SONAR PING to THRUST"},
        {"a controller button moves likewise", "", waitingFor(Action::shield),
         inputWith(&MenuInput::padInput, std::optional<PadInput>(padA)),
         "pad_shield = b, a\npad_fire =", "A moved from FIRE to SHIELD"},
        {"pause keeps its last input", "pause = P\npad_pause =", waitingFor(Action::fire), keyInput(kKeyP),
         "pause = P\npad_pause =", "stays with PAUSE"},
        {"pause cannot be cleared", "", waitingFor(Action::pause), keyInput(key_position::DELETE), "", "PAUSE keeps"},
        {"Delete clears another action", "", waitingFor(Action::fire), keyInput(key_position::DELETE),
         "fire =\npad_fire =", "FIRE cleared"},
        {"Enter is the menu's", "", waitingFor(Action::fire), keyInput(key_position::RETURN), "", "Enter is kept"},
        {"Escape cancels", "", waitingFor(Action::fire), keyInput(key_position::ESCAPE), "", ""},
        {"quit keeps Escape alone", "", waitingFor(Action::quit), keyInput(kKeyP), "", "QUIT keeps Escape"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Settings settings = settingsFrom(c.start);
        OptionsMenu menu = c.menu;
        const MenuOutcome outcome = stepMenu(menu, settings, c.input);
        EXPECT_EQ(settings, settingsFrom(c.expected));
        if (*c.notice) {
            EXPECT_NE(outcome.notice.find(c.notice), std::string::npos) << outcome.notice;
        } else {
            EXPECT_EQ(outcome.notice, "");
        }
        EXPECT_TRUE(!c.menu.waitingFor || !menu.waitingFor) << "one input ends the wait";
    }
}

TEST(OptionsMenu, ChoosingAnActionWaitsAndEscapeWalksBackToLeaving)
{
    headless::reset();
    Settings settings = defaultSettings();
    OptionsMenu menu = optionsAt(kRestoreLine - 1, 0); // Restore defaults: no window size line above it
    EXPECT_EQ(optionLines(menu).size(), 7u) << "no window size line where the page decides the size";
    stepMenu(menu, settings, commandInput(MenuCommand::up));
    stepMenu(menu, settings, commandInput(MenuCommand::choose));
    ASSERT_TRUE(menu.controlsShown);
    stepMenu(menu, settings, commandInput(MenuCommand::choose));
    ASSERT_EQ(menu.waitingFor, Action::thrust);
    EXPECT_EQ(menuFooter(menu), "Press a key for THRUST - Escape cancels, Delete clears");
    stepMenu(menu, settings, keyInput(key_position::ESCAPE));
    EXPECT_FALSE(menu.waitingFor);
    EXPECT_FALSE(stepMenu(menu, settings, commandInput(MenuCommand::back)).closed) << "back to the options first";
    EXPECT_EQ(optionLines(menu)[menu.selected], OptionLine::controls);
    EXPECT_TRUE(stepMenu(menu, settings, commandInput(MenuCommand::back)).closed);
    EXPECT_EQ(settings, defaultSettings());
}
