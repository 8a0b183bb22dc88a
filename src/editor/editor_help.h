// The editor's keys and buttons: one table for its --help and for the help that F1
// shows over the grid, so the two never differ.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Rows of two columns, each within the 80 columns of the window's font.
inline constexpr std::string_view kEditorKeys = R"(  Up, Down              select the next, previous line
  Ctrl+arrows           move the selected vertex (or texture point) by one cell
  Insert, I             add a vertex in the middle of the selected line
  Delete, X             remove the selected vertex (at least 3 lines stay)
  Ctrl+Z                undo
  Ctrl+Y, Ctrl+Shift+Z  redo
  M                     switch between LINE mode (vertices) and TEXTURE mode
  G                     switch between the grid and a textured preview
  S                     close the outline and save
  L                     reload the file, dropping changes (Ctrl+Z undoes it)
  N (held)              the left button does not edit
  left button           move the selected point to the cell under the pointer
  right button          select the line whose point lies in that cell
  F1                    show these keys in the window
  Escape                quit; with unsaved changes, press it twice in 3 seconds
)";

// The table as the window shows it, under a title and above the keys that close it.
std::vector<std::string> editorHelpLines();
