// The settings file: where it lives, reading it without ever failing the start, and
// writing a commented file of defaults for the player to edit.
#include "app/settings.h"

#include "files/file_read.h"
#include "platform/file_replace.h"

#include <sys/stat.h>

namespace {

const std::string kSettingsFileName = "settings.ini";
// Far more than any settings file holds; a larger "file" is something else.
constexpr FileKind kSettingsFile{"settings file", uint64_t(1) << 20};

} // namespace

std::string settingsPath(const Environment& environment)
{
    const std::string folder = userConfigFolder(environment);
    return folder.empty() ? folder : folder + "/" + kSettingsFileName;
}

Settings loadSettings(const std::string& path, std::vector<std::string>& warnings)
{
    Settings settings = defaultSettings();
    if (path.empty() || noFileAt(path)) return settings;
    FileBytes file;
    std::string problem;
    if (!readWholeFile(path, kSettingsFile, file, problem)) {
        warnings.push_back(path + ": " + problem + "; using the default settings");
        return settings;
    }
    applySettingsText(settings, std::string(file.text()), path, warnings);
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
    return makeFolders(path.substr(0, path.find_last_of('/')), error) &&
           replaceFile(path, defaultSettingsText(), error);
}
