// The editor's undo history holds whole outlines: a ship has a few dozen lines, so
// a thousand copies cost less than a megabyte and need no diffing to be exact.
#include "editor/edit_history.h"

#include "editor/editor.h"
#include "editor/outline_edits.h"

#include <algorithm>
#include <utility>

namespace {

void restore(Editor& editor, const OutlineState& state)
{
    editor.model.lines = state.lines;
    sealAfterResize(editor.model);
    editor.selected = state.selected;
}

void pushUndo(EditHistory& history, OutlineState state)
{
    history.undo.push_back(std::move(state));
    if (history.undo.size() > kUndoSteps) history.undo.pop_front();
}

} // namespace

bool sameOutline(const std::vector<ModelLine>& a, const std::vector<ModelLine>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ModelLine& x, const ModelLine& y) {
        return x.end == y.end && x.texEnd == y.texEnd;
    });
}

void startHistory(Editor& editor)
{
    editor.history = EditHistory{};
    editor.history.recorded = {editor.model.lines, editor.selected};
    markSaved(editor);
}

void markSaved(Editor& editor) { editor.savedLines = editor.model.lines; }

bool hasUnsavedChanges(const Editor& editor) { return !sameOutline(editor.model.lines, editor.savedLines); }

void recordStep(Editor& editor)
{
    EditHistory& history = editor.history;
    if (sameOutline(editor.model.lines, history.recorded.lines)) {
        history.recorded.selected = editor.selected;
        return;
    }
    pushUndo(history, std::exchange(history.recorded, {editor.model.lines, editor.selected}));
    history.redo.clear();
}

bool undoStep(Editor& editor)
{
    recordStep(editor);
    EditHistory& history = editor.history;
    if (history.undo.empty()) return false;
    history.redo.push_back(std::exchange(history.recorded, std::move(history.undo.back())));
    history.undo.pop_back();
    restore(editor, history.recorded);
    return true;
}

bool redoStep(Editor& editor)
{
    recordStep(editor);
    EditHistory& history = editor.history;
    if (history.redo.empty()) return false;
    pushUndo(history, std::exchange(history.recorded, std::move(history.redo.back())));
    history.redo.pop_back();
    restore(editor, history.recorded);
    return true;
}
