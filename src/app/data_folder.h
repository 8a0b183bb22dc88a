// Finding the data folder (visual/, audio/, model/) wherever a program is started
// from: the folder given with --data, else $SPACE_GAME_DATA, else ./data, else the
// installed copy beside the program, else the source tree's for a program run from
// its build folder. The executable's path and the environment are passed in, so tests
// use made-up ones. Every file the programs read is then taken from the folder found.
#pragma once

#include "app/user_folders.h"

#include <string>

inline const std::string kDataVariable = "SPACE_GAME_DATA";

enum class DataOrigin { Option, Environment, WorkingFolder, Installed, SourceTree };

struct DataFolder {
    std::string path = "data"; // as given or found; ./data stays "data", so file names read as they always did
    DataOrigin origin = DataOrigin::WorkingFolder;
};

struct DataSearch {
    std::string option;     // the --data folder; empty when not given
    std::string executable; // this program's own absolute path; empty when unknown
    Environment environment;
};

// The running program's absolute path, links resolved; empty when the system will not say.
std::string executablePath();

// The places in the order they are tried, for the help text: a line each, the place
// and why it is looked at. The same wherever the program lies, so that a manual page
// made from the help of a program in its build folder holds for the installed one.
std::string describeDataSearch();

// The first place that holds the game's files. A folder given with --data or
// $SPACE_GAME_DATA is the user's choice and is the only place tried. On false, error
// names each place looked at and what it lacked (the first missing file).
bool findDataFolder(const DataSearch& search, DataFolder& found, std::string& error);

// Whether the editor may save into the folder's model/: never into an installed copy
// (however it was reached: root can write there too), else when the folder is writable.
bool editorMayWriteInto(const DataFolder& folder);
