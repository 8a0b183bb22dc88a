// Which ship file the game flies and the editor edits. In a data folder the user may
// write into, both use its model/Ship.mdata, as in a source checkout. Otherwise (an
// installed copy) the editor saves the user's own copy under the XDG data folder, and
// both prefer that copy once it exists, so what the editor saves is what the game flies.
#pragma once

#include "app/data_folder.h"
#include "app/user_folders.h"

#include <string>

struct ShipFiles {
    std::string shipped; // the data folder's model/Ship.mdata
    std::string own;     // where the editor saves: shipped itself, the user's copy, or empty when
                         // there is nowhere to save (no home folder to keep a copy in)
};

ShipFiles shipFiles(const DataFolder& folder, const Environment& environment);

// The user's own copy when it is not the shipped file and exists, else the shipped file.
std::string shipToLoad(const ShipFiles& files);
