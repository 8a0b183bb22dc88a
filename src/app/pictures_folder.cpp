// user-dirs.dirs is a shell fragment that xdg-user-dirs-update writes as
// XDG_NAME_DIR="$HOME/Name" or XDG_NAME_DIR="/absolute": one assignment a line, the
// value in double quotes with \" \\ \$ and \` escaped. xdg-user-dir sources it, so an
// assignment there wins over the variable in the environment, and the last one wins.
// Only that written form is read; a line in any other shape assigns nothing.
#include "app/pictures_folder.h"

#include "files/file_read.h"

#include <sys/stat.h>

#include <sstream>

namespace {

const std::string kPicturesVariable = "XDG_PICTURES_DIR";
// A few lines in practice; a larger file is not the desktop's list.
constexpr FileKind kUserDirsFile{"list of user folders", uint64_t(1) << 20};

bool isAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The word after "NAME=": a double-quoted string with its escapes undone, or a bare
// word up to the first blank. Nothing for an unterminated quote.
std::optional<std::string> shellWord(const std::string& text)
{
    if (text.empty() || text.front() != '"') return text.substr(0, text.find_first_of(" \t"));
    std::string word;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') return word;
        if (c == '\\' && i + 1 < text.size() && std::string("\"\\$`").find(text[i + 1]) != std::string::npos) {
            word += text[++i];
        } else {
            word += c;
        }
    }
    return std::nullopt;
}

std::string expandHome(const std::string& value, const std::string& home)
{
    for (const std::string prefix : {"$HOME", "${HOME}"}) {
        const bool atStart = value.starts_with(prefix) &&
                             (value.size() == prefix.size() || value[prefix.size()] == '/');
        if (atStart) return isAbsolute(home) ? home + value.substr(prefix.size()) : std::string();
    }
    return value;
}

// The file's text; empty, as if it assigned nothing, when there is none or it is no
// file to read (then with one warning).
std::string readUserDirs(const std::string& path, std::vector<std::string>& warnings)
{
    if (noFileAt(path)) return "";
    FileBytes file;
    std::string problem;
    if (readWholeFile(path, kUserDirsFile, file, problem)) return std::string(file.text());
    warnings.push_back(path + ": " + problem + "; ignored");
    return "";
}

} // namespace

std::optional<std::string> userDirsValue(const std::string& text, const std::string& variable,
                                         const std::string& home)
{
    std::optional<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, variable.size() + 1, variable + "=") != 0) continue;
        const std::optional<std::string> word = shellWord(line.substr(start + variable.size() + 1));
        if (!word) continue;
        const std::string value = expandHome(*word, home);
        found = isAbsolute(value) ? std::optional(value) : std::nullopt;
    }
    return found;
}

std::string picturesFolder(const Environment& environment, std::vector<std::string>& warnings)
{
    const std::string home = environment("HOME");
    if (const std::string config = configHome(environment); !config.empty()) {
        const std::string text = readUserDirs(config + "/user-dirs.dirs", warnings);
        if (std::optional<std::string> chosen = userDirsValue(text, kPicturesVariable, home)) return *chosen;
    }
    if (const std::string set = environment(kPicturesVariable); isAbsolute(set)) return set;
    if (!isAbsolute(home)) return "";
    return isFolder(home + "/Pictures") ? home + "/Pictures" : home;
}
