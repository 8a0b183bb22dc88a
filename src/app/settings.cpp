// Reading settings text. Every line is checked whole before it changes anything, so
// a bad line leaves no half of itself behind. Bindings are resolved once all lines
// are read: in line order, each key or controller input goes to the first action
// that claims it.
#include "app/settings.h"

#include "app/settings_lines.h"
#include "platform/platform.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace {

struct DefaultBinding {
    Action action;
    const char* keys; // empty: no key
    const char* pad;  // empty: no controller input
};

// Today's keys, keypad twins of the arrows included; P and the Pause key pause, F1
// shows the keys.
constexpr DefaultBinding kDefaults[] = {
    {Action::thrust, "Up, Keypad 8", "-lefty, dpup, righttrigger"},
    {Action::left, "Left, Keypad 4", "-leftx, dpleft"},
    {Action::right, "Right, Keypad 6", "+leftx, dpright"},
    {Action::jump, "Down, Keypad 2", "dpdown"},
    {Action::fire, "W", "a"},
    {Action::ping, "Space", "y"},
    {Action::shield, "S", "b"},
    {Action::sight, "A", "x"},
    {Action::zoomIn, "PageUp, Keypad 9", "rightshoulder"},
    {Action::zoomOut, "PageDown, Keypad 3", "leftshoulder"},
    {Action::pause, "P, Pause", "start"},
    {Action::screenshot, "F12", ""},
    {Action::help, "F1", ""},
    {Action::options, "O", ""},
    {Action::quit, "", "back"},
};

constexpr const char* kPadPrefix = "pad_";

// SDL names the comma key ","; in a comma-separated list it goes by a word.
const std::map<std::string, std::string> kKeyNameAliases = {{"Comma", ","}, {"Keypad Comma", "Keypad ,"}};

// An empty value is an empty list: "fire =" leaves fire without a key.
std::vector<std::string> splitList(const std::string& value)
{
    std::vector<std::string> items;
    if (trimmed(value).empty()) return items;
    size_t start = 0;
    for (size_t comma = value.find(','); ; comma = value.find(',', start)) {
        items.push_back(trimmed(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

bool readKeys(const std::string& value, std::vector<int>& keys, std::string& problem)
{
    for (const std::string& item : splitList(value)) {
        const auto alias = kKeyNameAliases.find(item);
        const int key = KEY_BY_NAME(alias == kKeyNameAliases.end() ? item : alias->second);
        if (key == 0) {
            problem = item.empty() ? "a key name is missing" : "unknown key name \"" + item + "\"";
            return false;
        }
        if (key == KEY_BY_NAME("Escape")) {
            problem = "Escape is kept for quitting";
            return false;
        }
        keys.push_back(key);
    }
    return true;
}

bool readPadInputs(const std::string& value, std::vector<PadInput>& inputs, std::string& problem)
{
    for (const std::string& item : splitList(value)) {
        PadInput input;
        if (!padInputByName(item, input)) {
            problem = item.empty() ? "a controller input is missing" : "unknown controller input \"" + item + "\"";
            return false;
        }
        inputs.push_back(input);
    }
    return true;
}

bool readWholeNumber(const std::string& value, int low, int high, int& number, std::string& problem)
{
    const bool digits = !value.empty() && value.size() <= 9 &&
                        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) number = std::stoi(value);
    if (digits && number >= low && number <= high) return true;
    problem = "\"" + value + "\" is not a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    return false;
}

// Any case, as key names are: "ON" and "Off" say the same.
bool readSwitch(const std::string& value, bool& on, std::string& problem)
{
    std::string lower = value;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower == "on" || lower == "off") {
        on = lower == "on";
        return true;
    }
    problem = "\"" + value + "\" is neither on nor off";
    return false;
}

// An empty address is the default: nothing leaves the machine unless the player says so.
bool readServerAddress(const std::string& value, std::string& address, std::string& problem)
{
    const bool web = value.starts_with("http://") || value.starts_with("https://");
    const bool plain = std::all_of(value.begin(), value.end(), [](unsigned char c) { return c > ' ' && c < 127; });
    if (!value.empty() && (!web || !plain)) {
        problem = "\"" + value + "\" is no http:// or https:// address";
        return false;
    }
    address = value;
    while (address.ends_with('/')) address.pop_back(); // the paths asked for start with one
    return true;
}

// The bindings of the lines read so far: for each action, its latest line.
struct FileBinding {
    int line = 0;
    std::vector<int> keys;
    std::vector<PadInput> pad;
};

struct Pending {
    std::array<std::optional<FileBinding>, kActionCount> keys;
    std::array<std::optional<FileBinding>, kActionCount> pad;
};

// One line "name = value" into settings or pending; false with the problem.
bool applyLine(const std::string& name, const std::string& value, int line, Settings& settings, Pending& pending,
               std::string& problem)
{
    if (name == "volume") return readWholeNumber(value, 0, kLargestVolume, settings.volume, problem);
    if (name == "window_scale") return readWholeNumber(value, 1, kLargestWindowScale, settings.windowScale, problem);
    if (name == "shake") return readSwitch(value, settings.shake, problem);
    if (name == "fullscreen") return readSwitch(value, settings.fullscreen, problem);
    if (name == "leaderboard") return readServerAddress(value, settings.leaderboard, problem);
    Action action{};
    const bool isPad = name.starts_with(kPadPrefix);
    if (!actionByName(isPad ? name.substr(std::string(kPadPrefix).size()) : name, action) ||
        (!isPad && action == Action::quit)) {
        problem = "unknown setting \"" + name + "\"";
        return false;
    }
    FileBinding binding;
    binding.line = line;
    if (isPad ? !readPadInputs(value, binding.pad, problem) : !readKeys(value, binding.keys, problem)) return false;
    (isPad ? pending.pad : pending.keys)[bit(action)] = std::move(binding);
    return true;
}

// Gives each bound input to the first line that claims it, then lets the defaults of
// the actions no line rebinds keep what no line took.
template <typename Input>
void resolve(std::array<std::vector<Input>, kActionCount>& bound,
             const std::array<std::optional<FileBinding>, kActionCount>& lines,
             std::vector<Input> FileBinding::*inputs, std::string (*nameOf)(const Input&), const std::string& fileName,
             std::vector<std::string>& warnings)
{
    std::vector<int> order;
    for (int a = 0; a < kActionCount; ++a) {
        if (lines[a]) order.push_back(a);
    }
    std::sort(order.begin(), order.end(), [&lines](int a, int b) { return lines[a]->line < lines[b]->line; });
    std::vector<std::pair<Input, int>> taken; // input, action
    for (int a : order) {
        bound[a].clear();
        for (const Input& input : (*lines[a]).*inputs) {
            const auto owner = std::find_if(taken.begin(), taken.end(), [&](const auto& t) { return t.first == input; });
            if (owner != taken.end() && owner->second != a) {
                const int ownerLine = lines[owner->second]->line;
                warnings.push_back(fileName + ":" + std::to_string(lines[a]->line) + ": " + nameOf(input) +
                                   " is already bound to " + actionName(Action(owner->second)) + " on line " +
                                   std::to_string(ownerLine) + "; it stays there");
                continue;
            }
            if (owner == taken.end()) taken.emplace_back(input, a);
            if (std::find(bound[a].begin(), bound[a].end(), input) == bound[a].end()) bound[a].push_back(input);
        }
    }
    for (int a = 0; a < kActionCount; ++a) {
        if (lines[a]) continue;
        std::erase_if(bound[a], [&](const Input& input) {
            return std::any_of(taken.begin(), taken.end(), [&](const auto& t) { return t.first == input; });
        });
    }
}

std::string keyNameForFile(const int& key)
{
    const std::string name = KEY_NAME(key);
    for (const auto& [alias, real] : kKeyNameAliases) {
        if (name == real) return alias;
    }
    return name;
}

std::string padNameForFile(const PadInput& input) { return padInputName(input); }

// The latest line that leaves an action without inputs of one kind (its own line when
// it has one, else any line that took one of its default inputs), or latest when that
// one comes later.
template <typename Input>
std::optional<FileBinding>* latestTaker(std::array<std::optional<FileBinding>, kActionCount>& lines,
                                       std::vector<Input> FileBinding::*inputs, const std::vector<Input>& defaults,
                                       int action, std::optional<FileBinding>* latest)
{
    const auto takesADefault = [&](const FileBinding& line) {
        return std::any_of((line.*inputs).begin(), (line.*inputs).end(), [&](const Input& input) {
            return std::find(defaults.begin(), defaults.end(), input) != defaults.end();
        });
    };
    for (int a = 0; a < kActionCount; ++a) {
        std::optional<FileBinding>& line = lines[a];
        const bool toBlame = line && (lines[action] ? a == action : takesADefault(*line));
        if (toBlame && (!latest || (*latest)->line < line->line)) latest = &line;
    }
    return latest;
}

// The lines' bindings given to the actions. A focus loss pauses the game, and only
// pause resumes it, so the file may not leave pause without any key and controller
// input: the latest line that does so (pause's own, or one that took its default
// inputs) is refused then, until pause has something again.
void resolveBindings(Settings& settings, Pending& pending, const std::string& fileName,
                     std::vector<std::string>& warnings)
{
    const Settings unresolved = settings;
    const Settings defaults = defaultSettings();
    const int pause = bit(Action::pause);
    for (;;) {
        std::vector<std::string> claims;
        settings = unresolved;
        resolve(settings.keys, pending.keys, &FileBinding::keys, keyNameForFile, fileName, claims);
        resolve(settings.pad, pending.pad, &FileBinding::pad, padNameForFile, fileName, claims);
        std::optional<FileBinding>* refused = nullptr;
        if (!pauseCanResume(settings)) {
            refused = latestTaker(pending.keys, &FileBinding::keys, defaults.keys[pause], pause, refused);
            refused = latestTaker(pending.pad, &FileBinding::pad, defaults.pad[pause], pause, refused);
        }
        if (!refused) {
            warnings.insert(warnings.end(), claims.begin(), claims.end());
            return;
        }
        warnings.push_back(fileName + ":" + std::to_string((*refused)->line) +
                           ": it leaves nothing to resume a paused game with; line ignored");
        refused->reset();
    }
}

} // namespace

bool pauseCanResume(const Settings& settings)
{
    return !settings.keys[bit(Action::pause)].empty() || !settings.pad[bit(Action::pause)].empty();
}

Settings defaultSettings()
{
    Settings settings;
    for (const DefaultBinding& binding : kDefaults) {
        std::string ignored;
        readKeys(binding.keys, settings.keys[bit(binding.action)], ignored);
        readPadInputs(binding.pad, settings.pad[bit(binding.action)], ignored);
    }
    return settings;
}

SettingsSources applySettingsText(Settings& settings, const std::string& text, const std::string& fileName,
                                  std::vector<std::string>& warnings)
{
    Pending pending;
    SettingsSources sources;
    for (const SettingsLine& line : settingsLines(text)) {
        if (!line.setting) continue;
        std::string problem = "expected \"name = value\"";
        if (line.hasEquals) {
            Settings changed = settings;
            if (applyLine(line.name, line.value, line.number, changed, pending, problem)) {
                settings = changed;
                sources[line.name] = line.number;
                continue;
            }
        }
        warnings.push_back(fileName + ":" + std::to_string(line.number) + ": " + problem + "; line ignored");
    }
    resolveBindings(settings, pending, fileName, warnings);
    // a binding line that was refused in the end leaves its action as no line had set it
    for (int a = 0; a < kActionCount; ++a) {
        if (!pending.keys[a]) sources.erase(actionName(Action(a)));
        if (!pending.pad[a]) sources.erase(kPadPrefix + actionName(Action(a)));
    }
    return sources;
}

std::vector<std::string> settingNames()
{
    std::vector<std::string> names;
    for (const DefaultBinding& binding : kDefaults) {
        if (binding.action != Action::quit) names.push_back(actionName(binding.action));
    }
    for (const DefaultBinding& binding : kDefaults) names.push_back(kPadPrefix + actionName(binding.action));
    names.insert(names.end(), {"volume", "shake", "fullscreen", "window_scale", "leaderboard"});
    return names;
}

std::string settingValueText(const Settings& settings, const std::string& name)
{
    const auto onOff = [](bool on) { return on ? "on" : "off"; };
    if (name == "volume") return std::to_string(settings.volume);
    if (name == "window_scale") return std::to_string(settings.windowScale);
    if (name == "shake") return onOff(settings.shake);
    if (name == "fullscreen") return onOff(settings.fullscreen);
    if (name == "leaderboard") return settings.leaderboard;
    const auto listed = [](const auto& inputs, auto nameOf) {
        std::string list;
        for (const auto& input : inputs) list += (list.empty() ? "" : ", ") + nameOf(input);
        return list;
    };
    Action action{};
    if (name.starts_with(kPadPrefix) && actionByName(name.substr(std::string(kPadPrefix).size()), action)) {
        return listed(settings.pad[bit(action)], padNameForFile);
    }
    return actionByName(name, action) ? listed(settings.keys[bit(action)], keyNameForFile) : "";
}

std::string settingsText(const Settings& settings)
{
    const auto line = [&settings](const std::string& name) {
        return name + " = " + settingValueText(settings, name) + "\n";
    };
    std::string text =
        "# Space Game settings: one \"name = value\" a line; a line starting with # is a comment.\n"
        "# A setting left out keeps its default, which is what this file sets.\n"
        "\n"
        "# Keys, by SDL's key names (\"Left Ctrl\", \"Keypad 8\", \"F12\"). Several keys for one\n"
        "# action are separated by commas; the comma key itself is written Comma. An empty\n"
        "# value leaves the action without a key. Escape always quits.\n";
    for (const DefaultBinding& binding : kDefaults) {
        if (binding.action != Action::quit) text += line(actionName(binding.action));
    }
    text += "\n"
            "# Game controller inputs: the buttons a b x y back guide start leftstick rightstick\n"
            "# leftshoulder rightshoulder dpup dpdown dpleft dpright, the triggers lefttrigger and\n"
            "# righttrigger, and the sticks' directions: -leftx is the left stick pushed left,\n"
            "# +leftx right, -lefty up, +lefty down (rightx and righty likewise).\n";
    for (const DefaultBinding& binding : kDefaults) text += line(kPadPrefix + actionName(binding.action));
    text += "\n"
            "# Master volume, from 0 (silent) to 100.\n" +
            line("volume") +
            "# Shake the view when the ship is destroyed: on or off.\n" +
            line("shake") +
            "# Start filling the screen (on) or in a window (off); Alt+Enter or F11 switches.\n" +
            line("fullscreen") +
            "# The window's starting size as a multiple of 640 x 480, from 1 to 4 (at most what\n"
            "# the desktop has room for).\n" +
            line("window_scale") +
            "# The leaderboard server a kept challenge run is sent to (its demo and the name\n"
            "# entered), as an http:// or https:// address; empty sends nothing anywhere.\n" +
            line("leaderboard");
    return text;
}

std::string defaultSettingsText() { return settingsText(defaultSettings()); }
