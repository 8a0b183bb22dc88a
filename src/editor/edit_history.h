// Undo and redo for the editor, and whether there is anything left to save. A step
// is recorded once a user action is over, by comparing the outline with the one
// recorded last, not when it starts: a drag across many cells is recorded once its
// button is up, so it is one step however many frames it took.
#pragma once

#include "model/model.h"

#include <deque>
#include <vector>

struct Editor;

constexpr size_t kUndoSteps = 1000;

// The outline as the user may return to it, and the line selected with it.
struct OutlineState {
    std::vector<ModelLine> lines;
    int selected = 0;
};

struct EditHistory {
    std::deque<OutlineState> undo;  // oldest first, at most kUndoSteps
    std::vector<OutlineState> redo; // the latest undone last
    OutlineState recorded;          // the state the next step starts from
};

// Same vertices and texture points in the same order; the starts follow from SEAL.
bool sameOutline(const std::vector<ModelLine>& a, const std::vector<ModelLine>& b);

// The model as it stands becomes where undo stops, and what counts as saved.
void startHistory(Editor& editor);
// The model as it stands is what the file holds now (it was just saved or loaded).
void markSaved(Editor& editor);
bool hasUnsavedChanges(const Editor& editor);

// Ends a step: an outline that differs from the recorded one makes the recorded
// state undoable (and forgets what could be redone); an unchanged one only takes
// note of the selection, so an undo comes back to the line that was worked on.
void recordStep(Editor& editor);
// One step back or forward, after recording any change not yet recorded. False,
// changing nothing, when there is no such step.
bool undoStep(Editor& editor);
bool redoStep(Editor& editor);
