// The editor's file commands, S and L, on the paths the editor was given. A failure
// never ends the editor: the model in memory stays exactly as it was, the failure is
// shown under the grid and said once on standard error, with the file and the
// reason, and the user may try again.
#pragma once

#include "editor/editor.h"

constexpr double kReplaceConfirmSeconds = 3.0;

// Closes the outline and writes it to the save path (making its folder when needed);
// the file then holds the model as it stands, and L reads it from there. A file that
// holds something other than a ship model is replaced only by a second S within
// kReplaceConfirmSeconds of the first, which asks.
void saveModel(Editor& editor);
// Where the file is kept only once a backend has stored it after the save (the
// browser's storage), the save counts then: until that, the line under the grid says
// it is saving and the changes stay unsaved; a failure says why. Called every frame.
void followSave(Editor& editor);
// Finds out whether the file S writes is text other than a ship model (a model read
// from it was made up of zeros), and says so under the grid.
void noteForeignFile(Editor& editor);
// Throws away the unsaved changes by reading the file again (an undoable step).
void reloadModel(Editor& editor);
