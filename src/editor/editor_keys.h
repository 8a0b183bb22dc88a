// The editor's command keys, read once per frame in a fixed order (Up, Down, M, G,
// S, L, then N), and WAIT_KEY, which makes every command act once per press.
#pragma once

#include "editor.h"

// Returns once the key is up: pumps the window's events and tests the key, at least
// once and then for as long as it is held. Always true.
bool WAIT_KEY(int scanCode);

void handleEditorKeys(Editor& editor);

// Back within the model's lines after the model changed size (0 when it has none).
void keepSelectionInModel(Editor& editor);
