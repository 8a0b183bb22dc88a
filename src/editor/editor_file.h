// The editor's file commands, S and L, on the paths the editor was given. A failure
// never ends the editor: the model in memory stays exactly as it was, the failure is
// shown under the grid and said once on standard error, with the file and the
// reason, and the user may try again.
#pragma once

#include "editor/editor.h"

// Closes the outline and writes it to the save path (making its folder when needed);
// the file then holds the model as it stands, and L reads it from there.
void saveModel(Editor& editor);
// Throws away the unsaved changes by reading the file again (an undoable step).
void reloadModel(Editor& editor);
