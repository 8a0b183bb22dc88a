// The XDG base folders from a made-up environment, and making nested folders.
#include "support/scratch_folder.h"
#include "app/user_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

Environment fakeEnvironment(std::map<std::string, std::string> variables)
{
    return [variables](const std::string& name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

} // namespace

TEST(UserFolders, FollowTheXdgVariablesThenHomeAndIgnoreRelativePaths)
{
    struct Case {
        std::map<std::string, std::string> environment;
        std::string data, config;
    };
    const Case cases[] = {
        {{{"HOME", "/home/ann"}}, "/home/ann/.local/share/space-game", "/home/ann/.config/space-game"},
        {{{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/d"}, {"XDG_CONFIG_HOME", "/c"}}, "/d/space-game", "/c/space-game"},
        {{{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "rel"}, {"XDG_CONFIG_HOME", "rel"}},
         "/home/ann/.local/share/space-game", "/home/ann/.config/space-game"},
        {{{"XDG_DATA_HOME", "/d"}}, "/d/space-game", ""},
        {{{"HOME", "relative"}}, "", ""},
        {{}, "", ""},
    };
    for (const Case& c : cases) {
        const Environment environment = fakeEnvironment(c.environment);
        EXPECT_EQ(userDataFolder(environment), c.data);
        EXPECT_EQ(userConfigFolder(environment), c.config);
    }
}

TEST(UserFolders, MakeFolders_MakesEveryMissingParentAndNamesWhatIsInTheWay)
{
    ScratchFolder scratch{"user_folders_test", {}};
    const std::string deep = (scratch.path() / "a/b/c").string();
    std::string error;
    ASSERT_TRUE(makeFolders(deep, error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(makeFolders(deep, error)) << "an existing folder is fine";

    std::ofstream(scratch.path() / "file") << "x";
    const std::string blocked = (scratch.path() / "file/inside").string();
    EXPECT_FALSE(makeFolders(blocked, error));
    EXPECT_NE(error.find("/file"), std::string::npos) << error;
}
