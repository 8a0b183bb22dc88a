// The data-folder search with a made-up program path and environment over scratch
// folders, and the choice of the ship file that follows from where the data was found.
#include "app/data_folder.h"
#include "support/scratch_folder.h"
#include "app/ship_files.h"

#include "app/build_info.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;

const char* const kPictures[] = {"rock.png", "ship3.png", "grad.png", "fire2.png", "space.png"};

// A data folder that holds the game's pictures (empty files will do), but for one.
void makeDataFolder(const fs::path& folder, const std::string& without = "")
{
    fs::create_directories(folder / "visual");
    fs::create_directories(folder / "model");
    for (const char* picture : kPictures) {
        if (picture != without) std::ofstream(folder / "visual" / picture) << "png";
    }
}

class DataSearchTest : public ::testing::Test {
protected:
    DataSearchTest()
    {
        fs::remove_all("data"); // the scratch folder's own data/, made anew where a test wants it
        program = (scratch.path() / "prefix/bin/space-game").string();
        installed = scratch.path() / "prefix/share/space-game/data";
    }

    DataSearch search(std::string option = "")
    {
        return {std::move(option), program, [this](const std::string& name) {
                    const auto found = variables.find(name);
                    return found == variables.end() ? std::string() : found->second;
                }};
    }

    // "path origin" of the folder found, or "error: ...".
    std::string found(const DataSearch& how)
    {
        DataFolder folder;
        std::string error;
        if (!findDataFolder(how, folder, error)) return "error: " + error;
        const char* origins[] = {"option", "environment", "working", "installed", "source"};
        return folder.path + " " + origins[static_cast<int>(folder.origin)];
    }

    ScratchFolder scratch{"data_folder_test"};
    std::string program;
    fs::path installed;
    std::map<std::string, std::string> variables;
};

} // namespace

TEST_F(DataSearchTest, TakesTheFirstPlaceThatHoldsTheGamesFilesInOrder)
{
    const std::string given = (scratch.path() / "given").string();
    const std::string named = (scratch.path() / "named").string();
    for (const std::string& folder : {given, named}) makeDataFolder(folder);
    makeDataFolder(installed);

    EXPECT_EQ(found(search()), installed.string() + " installed");
    makeDataFolder("data", "space.png");
    EXPECT_EQ(found(search()), installed.string() + " installed") << "an incomplete ./data is passed over";
    makeDataFolder("data");
    EXPECT_EQ(found(search()), "data working") << "./data stays a relative path";
    variables[kDataVariable] = named;
    EXPECT_EQ(found(search()), named + " environment");
    EXPECT_EQ(found(search(given)), given + " option");
    EXPECT_EQ(found(search(installed.string())), installed.string() + " installed")
        << "the installed copy is the installed copy, however it is reached";

    fs::remove_all("data");
    variables.clear();
    fs::remove_all(installed);
    program = std::string(kBuildFolder) + "/game";
    EXPECT_EQ(found(search()), std::string(kSourceDataFolder) + " source") << "run from the build folder";
}

TEST_F(DataSearchTest, FailureNamesTheFolderAndWhatItLacksOrEveryPlaceLookedAt)
{
    const std::string given = (scratch.path() / "given").string();
    makeDataFolder(given, "grad.png");
    makeDataFolder(installed);
    EXPECT_EQ(found(search(given)), "error: data folder " + given + " (given with --data): missing visual/grad.png")
        << "a chosen folder is the only place tried";
    variables[kDataVariable] = "/no/such/place";
    EXPECT_EQ(found(search()), "error: data folder /no/such/place (from $SPACE_GAME_DATA): no such folder");

    variables.clear();
    fs::remove(installed / "visual/rock.png");
    makeDataFolder("data", "ship3.png");
    EXPECT_EQ(found(search()), "error: cannot find the game's data folder; looked in:\n"
                               "  data (in the working folder): missing visual/ship3.png\n  " +
                                   installed.string() + " (installed with the program): missing visual/rock.png");
}

TEST_F(DataSearchTest, ShipIsEditedInPlaceOnlyInAWritableFolderNotInstalled)
{
    makeDataFolder("data");
    makeDataFolder(installed);
    const Environment home = [this](const std::string& name) {
        return name == "HOME" ? (scratch.path() / "home").string() : std::string();
    };
    const std::string own = (scratch.path() / "home/.local/share/space-game/model/Ship.mdata").string();

    const ShipFiles working = shipFiles({"data", DataOrigin::WorkingFolder}, home);
    EXPECT_EQ(working.shipped, "data/model/Ship.mdata");
    EXPECT_EQ(working.own, "data/model/Ship.mdata");

    const ShipFiles installedShip = shipFiles({installed.string(), DataOrigin::Installed}, home);
    EXPECT_EQ(installedShip.shipped, installed.string() + "/model/Ship.mdata");
    EXPECT_EQ(installedShip.own, own) << "even when the installed folder is writable, as it is to root";
    EXPECT_EQ(shipToLoad(installedShip), installedShip.shipped) << "until the user has a ship of their own";
    fs::create_directories(fs::path(own).parent_path());
    std::ofstream(own) << " 0\r\n";
    EXPECT_EQ(shipToLoad(installedShip), own);

    EXPECT_EQ(shipFiles({installed.string(), DataOrigin::Installed}, [](const std::string&) { return std::string(); }).own,
              "")
        << "no home folder: nowhere to save";
    if (::geteuid() != 0) { // root may write into a read-only folder anyway
        fs::permissions("data/model", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(shipFiles({"data", DataOrigin::WorkingFolder}, home).own, own);
        fs::permissions("data/model", fs::perms::owner_all);
    }
}
