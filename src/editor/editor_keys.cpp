// Key commands. A failed save or reload never ends the editor: the model in memory
// stays exactly as it was, the failure is shown in the status line and on standard
// error, and the user may try again (the model module has already told stdout).
#include "editor_keys.h"

#include "platform.h"

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

// The outline is closed before it is written. The copy keeps the model untouched
// when the write fails; on success the model is closed just like the copy was.
void saveModel(Editor& editor)
{
    Model closed = editor.model;
    SEAL(closed);
    if (!SAVE(closed, editor.fileName)) {
        reportFailure(editor, kSaveFailed);
        return;
    }
    editor.model = std::move(closed);
    editor.notice.clear();
}

// Throws away the unsaved changes. LOAD keeps the model as it was when it fails.
void reloadModel(Editor& editor)
{
    if (!LOAD(editor.model, editor.fileName)) {
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
