// The shipped ship and the user's own copy of it.
#include "app/ship_files.h"

#include <filesystem>
#include <system_error>

namespace {

const std::string kShipInFolder = "/model/Ship.mdata";

} // namespace

ShipFiles shipFiles(const DataFolder& folder, const Environment& environment)
{
    ShipFiles files{folder.path + kShipInFolder, {}};
    if (editorMayWriteInto(folder)) {
        files.own = files.shipped;
    } else if (const std::string userFolder = userDataFolder(environment); !userFolder.empty()) {
        files.own = userFolder + kShipInFolder;
    }
    return files;
}

std::string shipToLoad(const ShipFiles& files)
{
    std::error_code unreadable; // counts as absent
    return !files.own.empty() && std::filesystem::exists(files.own, unreadable) ? files.own : files.shipped;
}
