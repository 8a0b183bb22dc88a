// The shipped ship and the user's own copy of it.
#include "ship_files.h"

#include <sys/stat.h>

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
    struct stat info {};
    const bool ownExists = !files.own.empty() && ::stat(files.own.c_str(), &info) == 0;
    return ownExists ? files.own : files.shipped;
}
