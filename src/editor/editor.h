// The ship editor's state and its three phases; main() only calls these, so tests
// can drive the editor headlessly frame by frame.
#pragma once

#include <string>

// Grows with the editor's model, selection and modes.
struct Editor {};

// Opens the window; on failure error says why.
bool startEditor(Editor& editor, std::string& error);
// Runs one frame; false once Escape (or the window's close button) ends the editor.
bool runEditorFrame(Editor& editor);
void endEditor(Editor& editor);
