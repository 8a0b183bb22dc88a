// The textured preview and the status line.
#pragma once

#include "editor.h"

// The model as the game draws it, five pixels per model unit, around the screen's
// centre. Fills the model's transformed list.
void drawPreview(Editor& editor);
// "LINE" or "TEXTURE" at the top left, followed by the notice of a failed S or L.
void drawStatusLine(const Editor& editor);
