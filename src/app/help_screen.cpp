// The table has three columns in the 80 of the 8-pixel font: the action, its keys and
// its controller inputs; a cell too long for its column loses its middle to "...".
#include "app/help_screen.h"

#include "app/pause_screen.h"
#include "app/screen_notice.h"
#include "platform/font8x8.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr size_t kActionColumn = 14;
constexpr size_t kKeysColumn = 25;
constexpr size_t kPadColumn = 39;
constexpr int kLineHeight = 12;
constexpr uint32_t kTextColour = 0xFFFFFFFF;
constexpr uint32_t kPanelColour = 0xFF101020;
constexpr uint32_t kBorderColour = 0xFF6070A0;
constexpr int kPanelMargin = 8; // pixels of panel around the text

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

void drawTextPanel(int left, int top, int right, int bottom)
{
    const int panelLeft = std::max(left - kPanelMargin, 0);
    const int panelRight = std::min(right + kPanelMargin, SCREEN_WIDTH) - 1;
    const int panelTop = top - kPanelMargin;
    const int panelBottom = bottom + kPanelMargin - 1;
    SCREEN_LOCK();
    if (uint8_t* pixels = SCREEN_POINTER()) {
        for (int y = std::max(panelTop, 0); y <= std::min(panelBottom, SCREEN_HEIGHT - 1); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(pixels + size_t(y) * SCREEN_PITCH);
            std::fill(row + panelLeft, row + panelRight + 1, kPanelColour);
        }
    }
    DRAW_LINE(nullptr, float(panelLeft), float(panelTop), float(panelRight), float(panelBottom), kBorderColour,
              LINE_KIND_BOX);
    SCREEN_UNLOCK(-1, -1);
}

void drawHelp(const std::vector<std::string>& lines)
{
    SCREEN_LOCK();
    dimScreen();
    size_t widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, line.size());
    const int left = (SCREEN_WIDTH - int(widest) * kGlyphSize) / 2;
    int top = (SCREEN_HEIGHT - int(lines.size()) * kLineHeight) / 2;
    drawTextPanel(left, top, SCREEN_WIDTH - left, top + int(lines.size()) * kLineHeight);
    for (const std::string& line : lines) {
        DRAW_TEXT(nullptr, float(left), float(top), line, kTextColour);
        top += kLineHeight;
    }
    SCREEN_UNLOCK(-1, -1);
}
