// The settings file: where it lives, reading it without ever failing the start, and
// writing a commented file of defaults for the player to edit.
#include "app/settings.h"

#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const std::string kSettingsFileName = "settings.ini";
// Far more than any settings file holds; a larger "file" is something else.
constexpr off_t kLargestSettingsFile = off_t(1) << 20;

// The whole file, or false with the problem. Opened without waiting, so a FIFO in its
// place cannot hang the start, and read only when it is a regular file of a sane size.
bool readSettingsFile(const std::string& path, std::string& text, std::string& problem)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        problem = std::string("cannot be read (") + std::strerror(errno) + ")";
        return false;
    }
    struct stat info {};
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        problem = S_ISDIR(info.st_mode) ? "is a folder, not a settings file" : "is not a regular file";
    } else if (info.st_size > kLargestSettingsFile) {
        problem = "is larger than a settings file can be (1 MiB)";
    } else {
        text.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t got = ::read(file, text.data() + done, text.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) problem = std::string("cannot be read (") + std::strerror(errno) + ")";
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        text.resize(done); // a file that shrank while read is read as far as it went
    }
    ::close(file);
    return problem.empty();
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
    struct stat info {};
    if (path.empty() || (::stat(path.c_str(), &info) != 0 && errno == ENOENT)) return settings;
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
    return makeFolders(path.substr(0, path.find_last_of('/')), error) &&
           replaceFile(path, defaultSettingsText(), error);
}
