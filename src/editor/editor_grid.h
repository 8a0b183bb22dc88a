// The editing grid: 33 x 33 cells of 14 x 14 pixels, cell (16, 16) centred on the
// screen. In LINE mode cell (c, r) is the model point (c - 16, r - 16); in TEXTURE
// mode the texture grid point (c, r). Cells share their borders, so a pointer on a
// border lies in two or four cells and the one met last in the scan wins.
#pragma once

#include "editor/editor.h"

#include <optional>

constexpr int kGridCells = 33; // columns and rows, 0..32
constexpr int kGridHalf = 16;
constexpr int kCellSize = 14;
constexpr int kGridLeft = 89; // 320 - 7 - 16 * 14: the left edge of column 0
constexpr int kGridTop = 9;   // 240 - 7 - 16 * 14: the top edge of row 0
constexpr int kGridRight = kGridLeft + kGridCells * kCellSize;  // the last border, a column of its own
constexpr int kGridBottom = kGridTop + kGridCells * kCellSize;  // the last border, a row of its own

struct GridCell {
    int column = 0;
    int row = 0;
};

// The mouse on the grid, cell by cell, rows then columns: in every cell holding the
// pointer, the left button moves the selected line's point there (unless N is held)
// and otherwise the right button selects the last line whose point is there. Returns
// the hovered cell, the last one holding the pointer.
std::optional<GridCell> applyMouseToGrid(Editor& editor);

// In TEXTURE mode the texture under the grid; cell outlines, the hovered cell's
// white box, the closed outline through the points (grey, the selected line red),
// one marker per line (red for the selected line, yellow for the others; a point off
// the grid is marked off it) and the "C" over the centre cell.
void drawGrid(const Editor& editor, std::optional<GridCell> hovered);
