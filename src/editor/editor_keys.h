// The editor's command keys, read once per frame: Up, Down, M, G, S and L in that
// order as always, then the nudges, Insert, Delete, undo and redo, then N. Every
// command waits for its key to go up (WAIT_KEY), so holding a key acts once, and
// ends an undo step (edit_history.h).
#pragma once

#include "editor/editor.h"

// Returns once the key is up: pumps the window's events and tests the key, at least
// once and then for as long as it is held. Always true.
bool WAIT_KEY(int scanCode);

// While the help shows, only F1 answers: it closes the help.
void handleEditorKeys(Editor& editor);
// Read where Escape is, at the end of the frame: while the help shows, the Escape key
// itself closes it, and is waited out so that it does not quit as well. The close
// button, which also reads as Escape, is left to quit. True when it closed the help.
bool escapeClosesHelp(Editor& editor);

// Back within the model's lines after the model changed size (0 when it has none).
void keepSelectionInModel(Editor& editor);
