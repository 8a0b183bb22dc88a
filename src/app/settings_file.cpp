// The settings file: where it lives, reading it without ever failing the start, and
// writing a commented file of defaults for the player to edit.
#include "app/settings.h"

#include "platform/file_replace.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

const std::string kSettingsFileName = "settings.ini";

} // namespace

std::string settingsPath(const Environment& environment)
{
    const std::string folder = userConfigFolder(environment);
    return folder.empty() ? folder : folder + "/" + kSettingsFileName;
}

Settings loadSettings(const std::string& path, std::vector<std::string>& warnings)
{
    Settings settings = defaultSettings();
    struct stat info {};
    if (path.empty() || (::stat(path.c_str(), &info) != 0 && errno == ENOENT)) return settings;
    if (S_ISDIR(info.st_mode)) {
        warnings.push_back(path + ": is a folder, not a settings file; using the default settings");
        return settings;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (file) text << file.rdbuf();
    if (!file || file.bad()) {
        warnings.push_back(path + ": cannot be read (" + std::strerror(errno) + "); using the default settings");
        return settings;
    }
    applySettingsText(settings, text.str(), path, warnings);
    return settings;
}

bool writeDefaultSettings(const std::string& path, bool overwrite, std::string& error)
{
    if (path.empty()) {
        error = "no settings folder: neither XDG_CONFIG_HOME nor HOME is set";
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
