// What the editor shows besides the grid: the textured preview shown while the grid
// is hidden (the model as the game draws it), the status line at the top (mode,
// selected line and its point), the message line at the bottom, and the window's
// title. They only draw; the preview also refills the model's transformed points.
#pragma once

#include "editor/editor.h"

// The model as the game draws it, five pixels per model unit, around the screen's
// centre. Fills the model's transformed list.
void drawPreview(Editor& editor);
// "LINE" or "TEXTURE" at the top left, then the selected line (counted from 1) and
// the coordinates of the point that the mode edits.
void drawStatusLine(const Editor& editor);
// One message under the grid, the most pressing first: the question before quitting,
// the answer to the last command, why the last S or L failed, or a warning that the
// outline has too few lines for the game.
void drawMessageLine(const Editor& editor);
// The file name, after a "*" while there are unsaved changes, and the program's name.
std::string editorTitle(const Editor& editor);
// Sets the window's title when it has changed.
void showTitle(Editor& editor);
