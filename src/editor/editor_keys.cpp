// Key commands. A failed save or reload never ends the editor: the model in memory
// stays exactly as it was, the failure is shown in the status line and on standard
// error, and the user may try again (the model module has already told stdout).
#include "editor_keys.h"

#include "platform.h"
#include "user_folders.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

const std::string kSaveFailed = "Could not save file!";
const std::string kLoadFailed = "Could not load file!";
constexpr int kHeldKeyPollMs = 1;

int lastLine(const Editor& editor) { return static_cast<int>(editor.model.lines.size()) - 1; }

void reportFailure(Editor& editor, const std::string& message)
{
    editor.notice = message;
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
}

// The user's own copy may be the first file in its folder: the folder is made then.
bool makeSaveFolder(const std::string& savePath, std::string& problem)
{
    if (savePath.empty()) {
        problem = "no folder of yours to save in (HOME is not set)";
        return false;
    }
    const size_t slash = savePath.find_last_of('/');
    return slash == std::string::npos || slash == 0 || makeFolders(savePath.substr(0, slash), problem);
}

// The outline is closed before it is written. The copy keeps the model untouched
// when the write fails; on success the model is closed just like the copy was, and
// L reloads what was saved.
void saveModel(Editor& editor)
{
    Model closed = editor.model;
    SEAL(closed);
    if (std::string problem; !makeSaveFolder(editor.savePath, problem)) {
        reportFailure(editor, kSaveFailed + " " + problem);
        return;
    }
    if (!saveModelFile(closed, editor.savePath)) {
        reportFailure(editor, kSaveFailed);
        return;
    }
    editor.model = std::move(closed);
    editor.modelPath = editor.savePath;
    editor.notice = editor.savedNotice;
}

// Throws away the unsaved changes. The load keeps the model as it was when it fails.
void reloadModel(Editor& editor)
{
    if (!loadModelFile(editor.model, editor.modelPath)) {
        reportFailure(editor, kLoadFailed);
        return;
    }
    keepSelectionInModel(editor);
    editor.notice.clear();
}

} // namespace

// Pump, then test. The sleep while the key is held keeps the wait off a whole core; it
// pumps too, but only PUMP_EVENTS clears a key's tap, which KEY_DOWN also reports, so
// the test must follow PUMP_EVENTS or the window backend would never see the key up.
bool WAIT_KEY(int scanCode)
{
    for (;;) {
        PUMP_EVENTS();
        if (!KEY_DOWN(scanCode)) return true;
        SLEEP_MS(kHeldKeyPollMs);
    }
}

void keepSelectionInModel(Editor& editor)
{
    editor.selected = std::clamp(editor.selected, 0, std::max(0, lastLine(editor)));
}

void handleEditorKeys(Editor& editor)
{
    if (KEY_DOWN(scancode::UP)) {
        if (editor.selected < lastLine(editor)) ++editor.selected;
        WAIT_KEY(scancode::UP);
    }
    if (KEY_DOWN(scancode::DOWN)) {
        if (editor.selected > 0) --editor.selected;
        WAIT_KEY(scancode::DOWN);
    }
    if (KEY_DOWN(scancode::M)) {
        editor.mode = editor.mode == kModeLine ? kModeTexture : kModeLine;
        WAIT_KEY(scancode::M);
    }
    if (KEY_DOWN(scancode::G)) {
        editor.gridShown = !editor.gridShown;
        WAIT_KEY(scancode::G);
    }
    if (KEY_DOWN(scancode::S)) {
        saveModel(editor);
        WAIT_KEY(scancode::S);
    }
    if (KEY_DOWN(scancode::L)) {
        reloadModel(editor);
        WAIT_KEY(scancode::L);
    }
    editor.hold = KEY_DOWN(scancode::N) != 0;
}
