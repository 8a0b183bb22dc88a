// The editor's options table and help text, and the choice of its files. A new option
// is a row here and its handling below or in main.cpp.
#include "editor/editor_command_line.h"

#include "app/ship_files.h"
#include "editor/editor_help.h"

#include <filesystem>

namespace {

constexpr OptionSpec kEditorOptions[] = {kDataOption, kHelpOption, kVersionOption};

const std::string kEditorDetails = R"(Without FILE the editor edits the ship the game flies. When the data folder is
installed (not yours to write), S saves your own copy to
$XDG_DATA_HOME/space-game/model/Ship.mdata (~/.local/share by default), and both
programs use that copy from then on.

Keys and buttons:
)" + std::string(kEditorKeys);

// The notice keeps within 71 characters, well inside the 79 of the line under the grid.
constexpr size_t kNoticeColumns = 71;
const std::string kSavedTo = "Saved to ";
const std::string kElided = "...";

// The path as the user would type it, the home folder as "~", and its end kept when
// it is too long for that: the end says which file it is.
std::string savedNotice(const std::string& path, const std::string& home)
{
    std::string shown = path;
    if (!home.empty() && shown.starts_with(home + "/")) shown.replace(0, home.size(), 1, '~');
    const size_t room = kNoticeColumns - kSavedTo.size();
    if (shown.size() > room) shown.replace(0, shown.size() - (room - kElided.size()), kElided);
    return kSavedTo + shown;
}

} // namespace

const ProgramText kEditorProgram{
    .title = "Space Game ship editor",
    .summary = "Edit the outline and texture points of a ship model (.mdata file).",
    .operands = "[FILE]",
    .mostOperands = 1,
    .options = kEditorOptions,
    .details = kEditorDetails,
};

void chooseEditorFiles(Editor& editor, const Launch& launch)
{
    editor.dataFolder = launch.data.path;
    if (!launch.commandLine.operands.empty()) {
        editor.modelPath = editor.savePath = launch.commandLine.operands.front();
        editor.fileNamed = true;
    } else {
        const ShipFiles ship = shipFiles(launch.data, launch.environment);
        editor.modelPath = shipToLoad(ship);
        editor.savePath = ship.own;
        if (!ship.own.empty() && ship.own != ship.shipped) {
            editor.savedNotice = savedNotice(ship.own, launch.environment("HOME"));
        }
    }
    editor.fileName = std::filesystem::path(editor.modelPath).filename().string();
}
