// The options screen's rules, apart from the platform: which lines there are, what
// each command does to the settings, and what the loop must apply at once (the
// volume, the window). Two pages: the options, and the controls, where choosing an
// action waits for the key or controller input to add to it.
#pragma once

#include "app/settings.h"

#include <optional>
#include <string>
#include <vector>

enum class MenuCommand { none, up, down, left, right, choose, back };

// One turn's input, gathered by the loop (options_input.h).
struct MenuInput {
    MenuCommand command = MenuCommand::none;
    int clickedLine = -1; // a line clicked with the mouse, or -1
    int clickedArrow = 0; // -1: its "<" was clicked, +1: its ">", 0: elsewhere on it
    int key = 0;          // the first key position pressed, 0 for none
    std::optional<PadInput> padInput; // the first controller input pressed or pushed
};

enum class OptionLine { volume, shake, fullscreen, windowSize, controls, restoreDefaults, leaderboard, back };

struct OptionsMenu {
    bool controlsShown = false;
    int selected = 0; // a line of the page shown
    bool confirmingDefaults = false;
    std::optional<Action> waitingFor; // the controls wait for an input for this action
    int largestScale = 0; // the largest window size the desktop holds; 0: no window size line
};

// A line as the screen shows it: the value, when there is one, between "<" and ">"
// if Left and Right change it.
struct MenuLine {
    std::string label;
    std::string value;
    bool arrows = false;
    std::string controllerValue; // the controls' third column
};

struct MenuOutcome {
    bool volumeChanged = false;
    bool windowChanged = false; // fullscreen or size
    bool closed = false;        // the player left the options
    std::string notice;         // what to tell the player, or empty
};

constexpr int kVolumeStep = 10;

std::vector<OptionLine> optionLines(const OptionsMenu& menu);
std::vector<MenuLine> menuLines(const OptionsMenu& menu, const Settings& settings);
// The line above the page's lines, and the one below them (a prompt while waiting).
std::string menuTitle(const OptionsMenu& menu);
std::string menuFooter(const OptionsMenu& menu);
MenuOutcome stepMenu(OptionsMenu& menu, Settings& settings, const MenuInput& input);
// The volume one step (direction -1 or +1) on; a value between steps goes to the
// next step that way.
int steppedVolume(int volume, int direction);
