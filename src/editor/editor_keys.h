// The editor's command keys, read once per frame: Up, Down, M, G, S and L in that
// order as always, then the nudges, Insert, Delete, undo and redo, then N. Every
// command waits for its key to go up (WAIT_KEY), so holding a key acts once, and
// ends an undo step (edit_history.h). The wait is a run of frames that do nothing
// but look at the key, so that every frame returns to its caller: a browser page
// must have control back after each one.
#pragma once

#include "editor/editor.h"

// One look at a key being waited for: pumps the window's events, then tests the key.
// True once it is up.
bool WAIT_KEY(int scanCode);

// While the last command's key is held, a frame only looks at it (WAIT_KEY) and rests
// a moment: true for such a frame, which does nothing else.
bool awaitingKeyRelease(Editor& editor);

// While the help shows, only F1 answers: it closes the help.
void handleEditorKeys(Editor& editor);
// Read where Escape is, at the end of the frame: while the help shows, the Escape key
// itself closes it, and the frames after wait for it to go up, so that it does not
// quit as well. The close button, which also reads as Escape, is left to quit. True
// when it closed the help.
bool escapeClosesHelp(Editor& editor);

// Back within the model's lines after the model changed size (0 when it has none).
void keepSelectionInModel(Editor& editor);
