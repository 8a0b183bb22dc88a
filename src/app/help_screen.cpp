// The table has three columns in the 80 of the 8-pixel font: the action, its keys and
// its controller inputs; a cell too long for its column loses its middle to "...".
#include "app/help_screen.h"

#include "app/screen_notice.h"
#include "app/text_panel.h"
#include "platform/platform.h"

namespace {

constexpr size_t kActionColumn = 14;
constexpr size_t kKeysColumn = 25;
constexpr size_t kPadColumn = 39;

std::string row(const std::string& action, const std::string& keys, const std::string& pad)
{
    std::string line = fitToColumns(action, kActionColumn - 1);
    line.resize(kActionColumn, ' ');
    line += fitToColumns(keys, kKeysColumn - 1);
    line.resize(kActionColumn + kKeysColumn, ' ');
    line += fitToColumns(pad, kPadColumn);
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

// "F1, P or Escape closes this": the first key of each action that closes the help.
std::string closingLine(const Settings& settings)
{
    std::vector<std::string> keys;
    for (const Action action : {Action::help, Action::pause}) {
        if (!settings.keys[bit(action)].empty()) keys.push_back(KEY_NAME(settings.keys[bit(action)].front()));
    }
    std::string text;
    for (const std::string& key : keys) text += key + ", ";
    if (!text.empty()) text.replace(text.size() - 2, 2, " or ");
    return text + "Escape closes this";
}

template <typename Input>
std::string joined(const std::vector<Input>& inputs, std::string (*name)(const Input&), std::string first)
{
    std::string text = std::move(first);
    for (const Input& input : inputs) text += (text.empty() ? "" : ", ") + name(input);
    return text;
}

std::string keyName(const int& key) { return KEY_NAME(key); }

} // namespace

std::string actionKeysText(const Settings& settings, Action action)
{
    return joined(settings.keys[bit(action)], keyName, action == Action::quit ? "Escape" : "");
}

std::string actionPadText(const Settings& settings, Action action)
{
    return joined(settings.pad[bit(action)], padInputLabel, "");
}

std::vector<std::string> gameHelpLines(const Settings& settings)
{
    std::vector<std::string> lines = {"KEYS AND CONTROLLER BUTTONS", "", row("ACTION", "KEYS", "CONTROLLER"), ""};
    for (int a = 0; a < kActionCount; ++a) {
        const Action action = Action(a);
        lines.push_back(row(actionLabel(action), actionKeysText(settings, action), actionPadText(settings, action)));
    }
    lines.push_back(row("fullscreen", "Alt+Enter, F11", ""));
    lines.push_back("");
    lines.push_back(closingLine(settings));
    return lines;
}

void drawHelp(const std::vector<std::string>& lines) { drawTextPanel(lines); }
