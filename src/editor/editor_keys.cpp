// Key commands. Plain Up and Down select lines; with Ctrl the arrows move the
// selected point by one cell instead. Ctrl+Z undoes, Ctrl+Y or Ctrl+Shift+Z redoes.
// Refusals (nothing to undo, too few lines to delete one) are answered in the
// status line for a few seconds. F1 shows the keys until F1 or Escape.
#include "editor/editor_keys.h"

#include "editor/editor_file.h"
#include "editor/outline_edits.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr int kHeldKeyPollMs = 1;
constexpr double kMessageSeconds = 3.0;

using Command = void (*)(Editor&);

int lastLine(const Editor& editor) { return static_cast<int>(editor.model.lines.size()) - 1; }

void say(Editor& editor, const std::string& message)
{
    editor.message = message;
    editor.messageUntil = TIMER_SECONDS() + kMessageSeconds;
}

void selectNext(Editor& editor) { editor.selected = std::min(editor.selected + 1, std::max(0, lastLine(editor))); }
void selectPrevious(Editor& editor) { editor.selected = std::max(editor.selected - 1, 0); }
void switchMode(Editor& editor) { editor.mode = editor.mode == kModeLine ? kModeTexture : kModeLine; }
void switchView(Editor& editor) { editor.gridShown = !editor.gridShown; }

// One cell in either mode: a model unit, or a texture grid unit of 8 texels.
template <int dx, int dy>
void nudge(Editor& editor)
{
    if (editor.model.lines.empty()) return;
    Vec2f& point = editor.model.lines[editor.selected].*editedPoint(editor.mode);
    point = point + Vec2f{dx, dy};
    SEAL(editor.model);
}

void insertPoint(Editor& editor) { editor.selected = insertVertex(editor.model, editor.selected); }

void deletePoint(Editor& editor)
{
    if (editor.model.lines.empty()) return;
    if (!deleteVertex(editor.model, editor.selected)) {
        say(editor, "Cannot delete: an outline needs at least 3 lines");
        return;
    }
    keepSelectionInModel(editor);
}

void showHelp(Editor& editor) { editor.helpShown = true; }
void hideHelp(Editor& editor) { editor.helpShown = false; }

void undo(Editor& editor)
{
    if (!undoStep(editor)) say(editor, "Nothing to undo");
}

void redo(Editor& editor)
{
    if (!redoStep(editor)) say(editor, "Nothing to redo");
}

// A command is a step of its own: a change the mouse made just before it (in the
// last frame of a drag or a click) is recorded first, apart from it. No other key
// acts until its key is up again.
void onPress(Editor& editor, int scanCode, Command command)
{
    if (editor.awaitedKey != 0 || !KEY_DOWN(scanCode)) return;
    recordStep(editor);
    command(editor);
    recordStep(editor);
    editor.awaitedKey = scanCode;
}

} // namespace

// Pump, then test: only PUMP_EVENTS clears a key's tap, which KEY_DOWN also reports,
// so the test must follow it or the window backend would never see the key up.
bool WAIT_KEY(int scanCode)
{
    PUMP_EVENTS();
    return !KEY_DOWN(scanCode);
}

// The rest while the key is held keeps the waiting frames off a whole core.
bool awaitingKeyRelease(Editor& editor)
{
    if (editor.awaitedKey == 0) return false;
    if (WAIT_KEY(editor.awaitedKey)) {
        editor.awaitedKey = 0;
        return false;
    }
    SLEEP_MS(kHeldKeyPollMs);
    return true;
}

void keepSelectionInModel(Editor& editor)
{
    editor.selected = std::clamp(editor.selected, 0, std::max(0, lastLine(editor)));
}

void handleEditorKeys(Editor& editor)
{
    if (editor.helpShown) {
        onPress(editor, scancode::F1, hideHelp);
        return;
    }
    const bool ctrl = KEY_DOWN(scancode::CTRL) != 0;
    const bool shift = KEY_DOWN(scancode::LEFT_SHIFT) || KEY_DOWN(scancode::RIGHT_SHIFT);
    onPress(editor, scancode::UP, ctrl ? nudge<0, -1> : selectNext);
    onPress(editor, scancode::DOWN, ctrl ? nudge<0, 1> : selectPrevious);
    onPress(editor, scancode::M, switchMode);
    onPress(editor, scancode::G, switchView);
    onPress(editor, scancode::S, saveModel);
    onPress(editor, scancode::L, reloadModel);
    if (ctrl) {
        onPress(editor, scancode::LEFT, nudge<-1, 0>);
        onPress(editor, scancode::RIGHT, nudge<1, 0>);
        onPress(editor, scancode::Z, shift ? redo : undo);
        onPress(editor, scancode::Y, redo);
    }
    for (const int key : {scancode::INSERT, scancode::I}) onPress(editor, key, insertPoint);
    for (const int key : {scancode::DELETE, scancode::X}) onPress(editor, key, deletePoint);
    onPress(editor, scancode::F1, showHelp);
    editor.hold = KEY_DOWN(scancode::N) != 0;
}

bool escapeClosesHelp(Editor& editor)
{
    const int escapeKey = KEY_BY_NAME("Escape");
    if (!editor.helpShown || !KEY_HELD(escapeKey)) return false;
    editor.helpShown = false;
    editor.awaitedKey = scancode::ESCAPE; // waited out by the next frames, as a command's key is
    return true;
}
