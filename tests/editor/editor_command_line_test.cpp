// Which files the editor works on, from its command line and the data folder found.
#include "editor/editor_command_line.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace {

// "modelPath | savePath | fileName | savedNotice" as chosen, with $HOME /home/ann.
std::string chosen(const DataFolder& data, const std::vector<std::string>& operands, const std::string& dataHome = "")
{
    Launch launch;
    launch.data = data;
    launch.commandLine.operands = operands;
    launch.environment = [&](const std::string& name) {
        return name == "HOME" ? "/home/ann" : name == "XDG_DATA_HOME" ? dataHome : std::string();
    };
    Editor editor;
    chooseEditorFiles(editor, launch);
    EXPECT_EQ(editor.dataFolder, data.path);
    EXPECT_LE(editor.savedNotice.size(), 71u) << "fits the status line";
    return editor.modelPath + " | " + editor.savePath + " | " + editor.fileName + " | " + editor.savedNotice;
}

} // namespace

TEST(EditorFiles, FileOperandIsEditedInPlaceElseTheShipWithTheOwnCopyBesideAnInstall)
{
    const ScratchFolder scratch("editor_files_test"); // its data/model is writable
    const DataFolder working{"data", DataOrigin::WorkingFolder};
    const DataFolder installed{"/usr/share/space-game/data", DataOrigin::Installed};
    EXPECT_EQ(chosen(working, {}), "data/model/Ship.mdata | data/model/Ship.mdata | Ship.mdata | ");
    EXPECT_EQ(chosen(working, {"../ships/Fast.mdata"}), "../ships/Fast.mdata | ../ships/Fast.mdata | Fast.mdata | ");
    EXPECT_EQ(chosen(installed, {"Fast.mdata"}), "Fast.mdata | Fast.mdata | Fast.mdata | ");
    EXPECT_EQ(chosen(installed, {}),
              "/usr/share/space-game/data/model/Ship.mdata | /home/ann/.local/share/space-game/model/Ship.mdata"
              " | Ship.mdata | Saved to ~/.local/share/space-game/model/Ship.mdata");
    const std::string longDataHome = "/d/" + std::string(60, 'x');
    EXPECT_EQ(chosen(installed, {}, longDataHome),
              "/usr/share/space-game/data/model/Ship.mdata | " + longDataHome +
                  "/space-game/model/Ship.mdata | Ship.mdata | Saved to ..." + std::string(31, 'x') +
                  "/space-game/model/Ship.mdata")
        << "the end of a long path, which names the file";
}
