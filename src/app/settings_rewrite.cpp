// Rewriting settings text in place. The reader says which line each setting took
// effect from; each written value replaces that line's value, so names, spacing,
// comments and every other line stay byte for byte. Bindings interact (a key goes to
// the first line that claims it, and a rebound action takes keys from the defaults of
// the others), so the result is read back and any setting that came out otherwise is
// written as well, until none does.
#include "app/settings_lines.h"
#include "app/settings_save.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

// What each setting must read back as, by name.
using SettingValues = std::map<std::string, std::string>;

// A file written with CRLF line ends gets its new lines so too.
std::string lineEndOf(const std::string& text)
{
    const size_t firstEnd = text.find('\n');
    return firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n" : "\n";
}

std::string withValuesWritten(const std::string& text, const std::vector<SettingsLine>& lines,
                              const SettingsSources& sources, const std::set<std::string>& written,
                              const SettingValues& wanted)
{
    std::vector<std::pair<const SettingsLine*, std::string>> replacements;
    std::string added;
    for (const std::string& name : settingNames()) { // the file's own order for added lines
        if (!written.contains(name)) continue;
        const std::string& value = wanted.at(name);
        const auto source = sources.find(name);
        if (source == sources.end()) {
            added += name + " = " + value + lineEndOf(text);
        } else {
            replacements.emplace_back(&lines[source->second - 1], value);
        }
    }
    // from the end backwards, so that each replacement leaves the places before it
    std::sort(replacements.begin(), replacements.end(),
              [](const auto& a, const auto& b) { return a.first->valueStart > b.first->valueStart; });
    std::string result = text;
    for (const auto& [line, value] : replacements) {
        // "fire =" becomes "fire = W", and "fire = W" becomes "fire =", with no space left at its end
        const size_t from = value.empty() ? line->afterEquals : line->valueStart;
        const bool spaced = line->value.empty() && !value.empty();
        result.replace(from, line->valueEnd - from, (spaced ? " " : "") + value);
    }
    if (!added.empty() && !result.empty() && !result.ends_with('\n')) result += lineEndOf(text);
    return result + added;
}

SettingValues valuesOf(const Settings& settings)
{
    SettingValues values;
    for (const std::string& name : settingNames()) values[name] = settingValueText(settings, name);
    return values;
}

// The player's bad lines were named when the file was read; they stay as they are.
Settings readOverDefaults(const std::string& text, SettingsSources& sources)
{
    Settings settings = defaultSettings();
    std::vector<std::string> warnings;
    sources = applySettingsText(settings, text, "", warnings);
    return settings;
}

} // namespace

std::string rewriteSettingsText(const std::string& text, const Settings& before, const Settings& after)
{
    SettingsSources sources, ignored;
    SettingValues wanted = valuesOf(readOverDefaults(text, sources));
    const std::vector<SettingsLine> lines = settingsLines(text);
    const SettingValues wasBefore = valuesOf(before), isAfter = valuesOf(after);
    std::set<std::string> written;
    for (const auto& [name, value] : isAfter) {
        if (wasBefore.at(name) == value) continue;
        wanted[name] = value;
        written.insert(name);
    }
    if (written.empty()) return text;
    for (;;) { // each round writes at least one more setting, so this ends
        const std::string result = withValuesWritten(text, lines, sources, written, wanted);
        bool more = false;
        for (const auto& [name, value] : valuesOf(readOverDefaults(result, ignored))) {
            if (value == wanted.at(name) || written.contains(name)) continue;
            written.insert(name);
            more = true;
        }
        if (!more) return result;
    }
}
