// Quitting without losing work. Escape, or the window's close button, ends the
// editor at once when everything is saved; with unsaved changes the first press
// only asks, and a second one within kQuitConfirmSeconds quits without saving.
#pragma once

#include "editor/editor.h"

constexpr double kQuitConfirmSeconds = 3.0;

// Read at the end of every frame. True when the editor ends now.
bool escapeEndsEditor(Editor& editor);
// The question to show while a second Escape would quit; empty otherwise.
std::string quitQuestion(const Editor& editor);
