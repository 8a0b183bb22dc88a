// Every page ends with its Back line; the controls page lists the actions in their
// order, so a line's index is its action's.
#include "app/options_menu.h"

#include "app/help_screen.h"
#include "app/rebinding.h"
#include "platform/key_positions.h"

#include <algorithm>

namespace {

const char* onOff(bool on) { return on ? "on" : "off"; }

int lineCount(const OptionsMenu& menu)
{
    return menu.controlsShown ? kActionCount + 1 : static_cast<int>(optionLines(menu).size());
}

MenuLine optionLine(OptionLine line, const OptionsMenu& menu, const Settings& settings)
{
    switch (line) {
    case OptionLine::volume: return {"Volume", std::to_string(settings.volume), true, ""};
    case OptionLine::shake: return {"Screen shake", std::string(onOff(settings.shake)) + "  (next game)", false, ""};
    case OptionLine::fullscreen: return {"Fullscreen", onOff(settings.fullscreen), false, ""};
    case OptionLine::windowSize: return {"Window size", std::to_string(settings.windowScale) + "x", true, ""};
    case OptionLine::controls: return {"Controls", "", false, ""};
    case OptionLine::restoreDefaults:
        return {menu.confirmingDefaults ? "Restore defaults: sure? Enter again to restore" : "Restore defaults", "",
                false, ""};
    case OptionLine::leaderboard:
        // an address is no thing to type with a controller: the file holds it
        return {"Leaderboard", (settings.leaderboard.empty() ? "off" : settings.leaderboard) + "  (settings file)",
                false, ""};
    case OptionLine::back: return {"Back", "", false, ""};
    }
    return {};
}

// Left and Right on the options page; choosing a switch flips it too.
void changeValue(OptionLine line, int direction, const OptionsMenu& menu, Settings& settings, MenuOutcome& outcome)
{
    switch (line) {
    case OptionLine::volume:
        settings.volume = steppedVolume(settings.volume, direction);
        outcome.volumeChanged = true;
        break;
    case OptionLine::shake: settings.shake = !settings.shake; break;
    case OptionLine::fullscreen:
        settings.fullscreen = !settings.fullscreen;
        outcome.windowChanged = true;
        break;
    case OptionLine::windowSize:
        settings.windowScale = std::clamp(std::min(settings.windowScale, menu.largestScale) + direction, 1,
                                          menu.largestScale);
        outcome.windowChanged = true;
        break;
    default: break;
    }
}

void chooseOption(OptionLine line, OptionsMenu& menu, Settings& settings, MenuOutcome& outcome)
{
    switch (line) {
    case OptionLine::controls:
        menu.controlsShown = true;
        menu.selected = 0;
        break;
    case OptionLine::restoreDefaults:
        if (!menu.confirmingDefaults) {
            menu.confirmingDefaults = true;
            return;
        }
        settings = defaultSettings();
        outcome.volumeChanged = outcome.windowChanged = true;
        outcome.notice = "Defaults restored";
        break;
    case OptionLine::leaderboard: outcome.notice = "Set leaderboard = ADDRESS in settings.ini"; break;
    case OptionLine::back: outcome.closed = true; break;
    default: changeValue(line, +1, menu, settings, outcome); break;
    }
    menu.confirmingDefaults = false;
}

void backFromControls(OptionsMenu& menu)
{
    const std::vector<OptionLine> lines = optionLines(menu);
    menu.controlsShown = false;
    menu.selected = int(std::find(lines.begin(), lines.end(), OptionLine::controls) - lines.begin());
}

// Waiting for an input: Escape and a click cancel, Delete clears, anything else is
// offered to the action.
MenuOutcome answerWait(OptionsMenu& menu, Settings& settings, const MenuInput& input)
{
    MenuOutcome outcome;
    const Action action = *menu.waitingFor;
    if (input.key == key_position::ESCAPE || input.clickedLine >= 0) {
        menu.waitingFor.reset();
    } else if (input.key == key_position::DELETE) {
        outcome.notice = clearBindings(settings, action);
        menu.waitingFor.reset();
    } else if (input.key != 0) {
        outcome.notice = bindKey(settings, action, input.key);
        menu.waitingFor.reset();
    } else if (input.padInput) {
        outcome.notice = bindPadInput(settings, action, *input.padInput);
        menu.waitingFor.reset();
    }
    return outcome;
}

MenuCommand clickCommand(const MenuInput& input)
{
    if (input.clickedArrow < 0) return MenuCommand::left;
    if (input.clickedArrow > 0) return MenuCommand::right;
    return MenuCommand::choose;
}

} // namespace

std::vector<OptionLine> optionLines(const OptionsMenu& menu)
{
    std::vector<OptionLine> lines = {OptionLine::volume, OptionLine::shake, OptionLine::fullscreen};
    if (menu.largestScale > 0) lines.push_back(OptionLine::windowSize);
    lines.insert(lines.end(), {OptionLine::controls, OptionLine::restoreDefaults, OptionLine::leaderboard, OptionLine::back});
    return lines;
}

std::vector<MenuLine> menuLines(const OptionsMenu& menu, const Settings& settings)
{
    std::vector<MenuLine> lines;
    if (!menu.controlsShown) {
        for (OptionLine line : optionLines(menu)) lines.push_back(optionLine(line, menu, settings));
        return lines;
    }
    for (int a = 0; a < kActionCount; ++a) {
        lines.push_back(
            {actionTitle(Action(a)), actionKeysText(settings, Action(a)), false, actionPadText(settings, Action(a))});
    }
    lines.push_back({"Back", "", false, ""});
    return lines;
}

std::string menuTitle(const OptionsMenu& menu) { return menu.controlsShown ? "CONTROLS" : "OPTIONS"; }

std::string menuFooter(const OptionsMenu& menu)
{
    if (menu.waitingFor) return "Press a key for " + actionTitle(*menu.waitingFor) + " - Escape cancels, Delete clears";
    if (menu.controlsShown) return "Enter: add a key or controller input - Escape: back";
    return "Up, Down: choose - Left, Right: change - Escape: back";
}

int steppedVolume(int volume, int direction)
{
    const int below = volume - volume % kVolumeStep;
    const int stepped = direction < 0 ? (below == volume ? below - kVolumeStep : below) : below + kVolumeStep;
    return std::clamp(stepped, 0, kLargestVolume);
}

MenuOutcome stepMenu(OptionsMenu& menu, Settings& settings, const MenuInput& input)
{
    if (menu.waitingFor) return answerWait(menu, settings, input);
    MenuOutcome outcome;
    const int count = lineCount(menu);
    MenuCommand command = input.command;
    if (input.clickedLine >= 0 && input.clickedLine < count) {
        if (input.clickedLine != menu.selected) menu.confirmingDefaults = false;
        menu.selected = input.clickedLine;
        command = clickCommand(input);
    }
    if (command != MenuCommand::choose && command != MenuCommand::none) menu.confirmingDefaults = false;
    switch (command) {
    case MenuCommand::up: menu.selected = (menu.selected + count - 1) % count; break;
    case MenuCommand::down: menu.selected = (menu.selected + 1) % count; break;
    case MenuCommand::back:
        if (menu.controlsShown) backFromControls(menu);
        else outcome.closed = true;
        break;
    case MenuCommand::left:
    case MenuCommand::right:
        if (!menu.controlsShown) {
            changeValue(optionLines(menu)[menu.selected], command == MenuCommand::left ? -1 : +1, menu, settings,
                        outcome);
        }
        break;
    case MenuCommand::choose:
        if (!menu.controlsShown) chooseOption(optionLines(menu)[menu.selected], menu, settings, outcome);
        else if (menu.selected == kActionCount) backFromControls(menu);
        else menu.waitingFor = Action(menu.selected);
        break;
    case MenuCommand::none: break;
    }
    return outcome;
}
