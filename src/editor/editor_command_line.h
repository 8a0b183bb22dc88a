// What the editor says about itself on its command line, and which files it then
// works on: a FILE named there, else the ship the game flies (see ship_files.h).
#pragma once

#include "editor/editor.h"
#include "app/program_launch.h"

extern const ProgramText kEditorProgram;

// Points the editor at the data folder found and at the model to edit: FILE, read and
// written in place; or the ship, which is saved to the user's own copy when the data
// folder is not the user's to write (the status line then says where it went).
void chooseEditorFiles(Editor& editor, const Launch& launch);
