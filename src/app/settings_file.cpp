// The settings file: where it lives, reading it without ever failing the start,
// writing a commented file of defaults for the player to edit, and saving the changes
// made in the options into it.
#include "app/settings.h"
#include "app/settings_save.h"

#include "files/file_read.h"
#include "platform/file_replace.h"

#include <sys/stat.h>

namespace {

const std::string kSettingsFileName = "settings.ini";
// Far more than any settings file holds; a larger "file" is something else.
constexpr FileKind kSettingsFile{"settings file", uint64_t(1) << 20};

// The file's text; a missing file is empty. False with the problem in words.
bool readSettingsFile(const std::string& path, std::string& text, std::string& problem)
{
    text.clear();
    if (noFileAt(path)) return true;
    FileBytes file;
    if (!readWholeFile(path, kSettingsFile, file, problem)) return false;
    text = file.text();
    return true;
}

// The file replaced by text, its folder made first when there is none.
bool replaceSettingsFile(const std::string& path, const std::string& text, std::string& error)
{
    const size_t slash = path.find_last_of('/');
    return (slash == std::string::npos || makeFolders(path.substr(0, slash), error)) && replaceFile(path, text, error);
}

} // namespace

std::string settingsPath(const Environment& environment)
{
    const std::string folder = userConfigFolder(environment);
    return folder.empty() ? folder : folder + "/" + kSettingsFileName;
}

Settings loadSettings(const std::string& path, std::vector<std::string>& warnings)
{
    Settings settings = defaultSettings();
    if (path.empty()) return settings;
    std::string text, problem;
    if (!readSettingsFile(path, text, problem)) {
        warnings.push_back(path + ": " + problem + "; using the default settings");
        return settings;
    }
    applySettingsText(settings, text, path, warnings);
    return settings;
}

Settings loadUserSettings(const Environment& environment, std::vector<std::string>& warnings)
{
    const std::string path = settingsPath(environment);
    if (path.empty()) warnings.push_back("no settings read: " + homeProblem(environment) + "; using the default settings");
    return loadSettings(path, warnings);
}

bool writeDefaultSettings(const std::string& path, bool overwrite, std::string& error)
{
    if (path.empty()) {
        error = "no settings folder";
        return false;
    }
    struct stat info {};
    if (!overwrite && ::lstat(path.c_str(), &info) == 0) {
        error = path + ": already exists; --force replaces it";
        return false;
    }
    return replaceSettingsFile(path, defaultSettingsText(), error);
}

bool saveSettingsChanges(const std::string& path, const Settings& before, const Settings& after, std::string& error)
{
    if (before == after) return true;
    if (path.empty()) {
        error = "could not save the settings: there is no settings folder";
        return false;
    }
    const std::string notSaved = "could not save the settings to " + path + ": ";
    std::string text, problem;
    if (!readSettingsFile(path, text, problem)) { // its lines would be lost in a rewrite
        error = notSaved + "it cannot be read (" + problem + ")";
        return false;
    }
    const std::string rewritten = rewriteSettingsText(text, before, after);
    std::vector<std::string> ignored;
    Settings readBack = defaultSettings();
    applySettingsText(readBack, rewritten, path, ignored);
    std::string unkept;
    for (const std::string& name : settingNames()) {
        const std::string wanted = settingValueText(after, name);
        if (wanted != settingValueText(before, name) && wanted != settingValueText(readBack, name)) {
            unkept += (unkept.empty() ? "" : ", ") + name;
        }
    }
    if (!unkept.empty()) { // a key bound twice, say, or pause left with nothing to resume
        error = notSaved + "it cannot hold these values of " + unkept;
        return false;
    }
    if (rewritten == text || replaceSettingsFile(path, rewritten, problem)) return true;
    error = notSaved + problem;
    return false;
}
