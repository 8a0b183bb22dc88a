// The XDG base folders and making a folder with its parents.
#include "app/user_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr mode_t kPrivateFolder = 0700;

bool isAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

// $variable when it is absolute, else $HOME followed by the fallback, else nothing.
std::string baseFolder(const Environment& environment, const char* variable, const char* homeFallback)
{
    const std::string value = environment(variable);
    if (isAbsolute(value)) return value;
    const std::string home = environment("HOME");
    return isAbsolute(home) ? home + homeFallback : std::string();
}

std::string gameFolderIn(const std::string& base) { return base.empty() ? base : base + "/" + kUserFolderName; }

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

Environment processEnvironment()
{
    return [](const std::string& name) {
        const char* value = std::getenv(name.c_str());
        return std::string(value ? value : "");
    };
}

std::string userDataFolder(const Environment& environment)
{
    return gameFolderIn(baseFolder(environment, "XDG_DATA_HOME", "/.local/share"));
}

std::string userConfigFolder(const Environment& environment) { return gameFolderIn(configHome(environment)); }

std::string configHome(const Environment& environment) { return baseFolder(environment, "XDG_CONFIG_HOME", "/.config"); }

std::string homeProblem(const Environment& environment)
{
    const std::string home = environment("HOME");
    if (home.empty()) return "HOME is not set";
    return isAbsolute(home) ? "" : "HOME is not an absolute path (" + home + ")";
}

bool makeFolders(const std::string& path, std::string& error)
{
    // Each prefix that ends before a slash, then the whole path.
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!prefix.empty() && !isFolder(prefix) && ::mkdir(prefix.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
            error = prefix + ": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) break;
    }
    if (isFolder(path)) return true;
    error = path + ": not a folder";
    return false;
}
