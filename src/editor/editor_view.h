// What the editor draws besides the grid: the textured preview shown while the grid
// is hidden (the model as the game draws it), and the status line with the mode and
// why the last S or L failed. They only draw; the preview also refills the model's
// transformed points.
#pragma once

#include "editor.h"

// The model as the game draws it, five pixels per model unit, around the screen's
// centre. Fills the model's transformed list.
void drawPreview(Editor& editor);
// "LINE" or "TEXTURE" at the top left, followed by the notice of a failed S or L.
void drawStatusLine(const Editor& editor);
