// The data-folder search. A folder counts only when it holds the pictures the game
// cannot start without, so a ./data of some other program is passed over; the
// model is not among them, since a missing ship is the programs' own affair.
#include "app/data_folder.h"

#include "app/build_info.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kWorkingData = "data";
constexpr std::array<std::string_view, 5> kRequiredFiles = {
    "visual/rock.png", "visual/ship3.png", "visual/grad.png", "visual/fire2.png", "visual/space.png",
};

struct Place {
    std::string path;
    DataOrigin origin;
};

std::string label(DataOrigin origin)
{
    switch (origin) {
    case DataOrigin::Option: return "given with --data";
    case DataOrigin::Environment: return "from $" + kDataVariable;
    case DataOrigin::WorkingFolder: return "in the working folder";
    case DataOrigin::Installed: return "installed with the program";
    case DataOrigin::SourceTree: return "the source tree, for a program run from its build folder";
    }
    return {};
}

std::string programFolder(const std::string& executable)
{
    return executable.empty() ? std::string() : fs::path(executable).parent_path().string();
}

std::string installedPlace(const std::string& executable)
{
    if (executable.empty()) return {};
    return (fs::path(programFolder(executable)) / kInstalledDataFromProgram).lexically_normal().string();
}

bool sameFolder(const std::string& a, const std::string& b)
{
    std::error_code ignored;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, ignored);
}

// The places tried after the explicit choices, in order; the source tree only for a
// program that sits in the build folder this source tree was built into.
std::vector<Place> implicitPlaces(const std::string& executable)
{
    std::vector<Place> places{{kWorkingData, DataOrigin::WorkingFolder}};
    if (!executable.empty()) places.push_back({installedPlace(executable), DataOrigin::Installed});
    if (sameFolder(programFolder(executable), std::string(kBuildFolder))) {
        places.push_back({std::string(kSourceDataFolder), DataOrigin::SourceTree});
    }
    return places;
}

// Empty when the place holds every required file, else what it lacks.
std::string whatIsMissing(const std::string& folder)
{
    std::error_code unreadable; // counts as absent
    if (!fs::is_directory(folder, unreadable)) return "no such folder";
    for (std::string_view file : kRequiredFiles) {
        if (!fs::is_regular_file(fs::path(folder) / file, unreadable)) return "missing " + std::string(file);
    }
    return {};
}

std::string describePlace(const Place& place) { return place.path + " (" + label(place.origin) + ")"; }

// Reached some other way, the installed copy is still the installed copy.
DataFolder folderAt(const Place& place, const std::string& executable)
{
    const bool installed = sameFolder(place.path, installedPlace(executable));
    return {place.path, installed ? DataOrigin::Installed : place.origin};
}

} // namespace

std::string executablePath()
{
    std::error_code failed;
    const fs::path path = fs::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : path.string();
}

std::string describeDataSearch()
{
    const std::pair<std::string, std::string> rows[] = {
        {"--data DIR", "given on the command line"},
        {"$" + kDataVariable, "named by this variable"},
        {"./data", "in the working folder, when it holds the game's files"},
        {std::string(kInstalledDataFromProgram), "from the program's folder, where it is installed"},
        {"data/ in the source tree", "for a program run from its build folder"},
    };
    std::string text;
    for (const auto& [place, reason] : rows) {
        std::string row = "  " + place;
        row.resize(std::max(row.size() + 2, size_t(28)), ' ');
        text += row + reason + "\n";
    }
    return text;
}

bool findDataFolder(const DataSearch& search, DataFolder& found, std::string& error)
{
    const std::string chosenByVariable = search.environment ? search.environment(kDataVariable) : std::string();
    std::vector<Place> places;
    const bool chosen = !search.option.empty() || !chosenByVariable.empty();
    if (!search.option.empty()) {
        places = {{search.option, DataOrigin::Option}};
    } else if (!chosenByVariable.empty()) {
        places = {{chosenByVariable, DataOrigin::Environment}};
    } else {
        places = implicitPlaces(search.executable);
    }
    std::vector<std::string> problems;
    for (const Place& place : places) {
        const std::string missing = whatIsMissing(place.path);
        if (missing.empty()) {
            found = folderAt(place, search.executable);
            return true;
        }
        problems.push_back(describePlace(place) + ": " + missing);
    }
    if (chosen) {
        error = "data folder " + problems[0];
        return false;
    }
    error = "cannot find the game's data folder; looked in:";
    for (const std::string& problem : problems) error += "\n  " + problem;
    return false;
}

bool editorMayWriteInto(const DataFolder& folder)
{
    return folder.origin != DataOrigin::Installed && ::access((folder.path + "/model").c_str(), W_OK) == 0;
}
