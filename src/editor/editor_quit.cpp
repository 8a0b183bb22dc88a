// A close request reads as Escape held; the editor answers every one it does not
// act on with CANCEL_CLOSE, so each request is one press, and the next can be told
// apart from the last however long Escape itself is held.
#include "editor/editor_quit.h"

#include "platform/platform.h"

namespace {

bool askingToQuit(const Editor& editor)
{
    return editor.quitAskedAt != kNotAsked && TIMER_SECONDS() - editor.quitAskedAt <= kQuitConfirmSeconds;
}

} // namespace

bool escapeEndsEditor(Editor& editor)
{
    const bool down = KEY_DOWN(scancode::ESCAPE) != 0;
    const bool pressed = down && !editor.escapeHeld;
    editor.escapeHeld = down;
    if (down && !hasUnsavedChanges(editor)) return true;
    CANCEL_CLOSE();
    if (!pressed) return false;
    if (askingToQuit(editor)) return true;
    editor.quitAskedAt = TIMER_SECONDS();
    return false;
}

std::string quitQuestion(const Editor& editor)
{
    if (!askingToQuit(editor) || !hasUnsavedChanges(editor)) return {};
    return "Unsaved changes: S saves, Escape again quits without saving";
}
