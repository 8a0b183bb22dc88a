// The grid view: the mouse's edits and selections, and the cells and markers. Every
// access to the line list goes through the model's own bounds, so an empty model or
// a selection past the last line never reads or writes outside it.
#include "editor_grid.h"

#include "platform.h"

#include <cmath>

namespace {

constexpr uint32_t kCellColour = 0xFF606060;
constexpr uint32_t kHoverColour = 0xFFFFFFFF;
constexpr uint32_t kSelectedColour = 0xFFFF0000;
constexpr uint32_t kOtherColour = 0xFFFFFF00;
constexpr uint32_t kCentreLabelColour = 0xFFFFFFFF;
constexpr float kMarkerRadius = 5.0f;
constexpr float kWholeTurn = 6.283186f; // 2 pi as the 32-bit float the callers store
constexpr float kScreenAspect = 0.0f;   // the screen's own, round at 640 x 480
constexpr int kFilled = -1;
const Vec2f kCentreLabel{316.0f, 236.0f};

float cellLeft(int column) { return static_cast<float>(kGridLeft + kCellSize * column); }
float cellTop(int row) { return static_cast<float>(kGridTop + kCellSize * row); }

// Borders included on all four sides.
bool cellHolds(int column, int row, Vec2f point)
{
    const float left = cellLeft(column);
    const float top = cellTop(row);
    return point.x >= left && point.x <= left + kCellSize && point.y >= top && point.y <= top + kCellSize;
}

// What a cell stands for in the current mode: a model point or a texture grid point.
Vec2f cellPoint(const Editor& editor, int column, int row)
{
    if (editor.mode == kModeLine) return {column - kGridHalf, row - kGridHalf};
    return {column, row};
}

// The point of a line that the grid shows and edits in the current mode.
Vec2f& editedPoint(ModelLine& line, int mode) { return mode == kModeLine ? line.end : line.texEnd; }
const Vec2f& editedPoint(const ModelLine& line, int mode) { return mode == kModeLine ? line.end : line.texEnd; }

bool selectionIsALine(const Editor& editor)
{
    return editor.selected >= 0 && static_cast<size_t>(editor.selected) < editor.model.lines.size();
}

void moveSelectedPoint(Editor& editor, int column, int row)
{
    if (!selectionIsALine(editor)) return;
    editedPoint(editor.model.lines[editor.selected], editor.mode) = cellPoint(editor, column, row);
}

void selectLastLineAt(Editor& editor, int column, int row)
{
    const Vec2f point = cellPoint(editor, column, row);
    const auto& lines = editor.model.lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (editedPoint(lines[i], editor.mode) == point) editor.selected = static_cast<int>(i);
    }
}

void drawCellBox(int column, int row, uint32_t colour)
{
    const float left = cellLeft(column);
    const float top = cellTop(row);
    DRAW_LINE(nullptr, left, top, left + kCellSize, top + kCellSize, colour, LINE_KIND_BOX, LINE_STYLE_SOLID);
}

// The marker's pixel follows the point rounded to the nearest pixel (halves to
// even) in float, so a point far off the grid stays a float far off the screen.
void drawMarker(Vec2f gridPoint, uint32_t colour)
{
    const float px = static_cast<float>(kGridLeft) + std::nearbyint(gridPoint.x * kCellSize);
    const float py = static_cast<float>(kGridTop) + std::nearbyint(gridPoint.y * kCellSize);
    const float halfCell = kCellSize / 2.0f;
    DRAW_CIRCLE(nullptr, px + halfCell, py + halfCell, kMarkerRadius, colour, kScreenAspect, 0.0f, kWholeTurn, kFilled);
}

} // namespace

std::optional<GridCell> applyMouseToGrid(Editor& editor)
{
    std::optional<GridCell> hovered;
    for (int row = 0; row < kGridCells; ++row) {
        for (int column = 0; column < kGridCells; ++column) {
            if (!cellHolds(column, row, editor.pointer)) continue;
            hovered = GridCell{column, row};
            if (editor.left) {
                if (!editor.hold) moveSelectedPoint(editor, column, row);
            } else if (editor.right) {
                selectLastLineAt(editor, column, row);
            }
        }
    }
    return hovered;
}

void drawGrid(const Editor& editor, std::optional<GridCell> hovered)
{
    for (int row = 0; row < kGridCells; ++row) {
        for (int column = 0; column < kGridCells; ++column) drawCellBox(column, row, kCellColour);
    }
    if (hovered) drawCellBox(hovered->column, hovered->row, kHoverColour);

    // In LINE mode the model origin is cell (16, 16); texture grid points need no shift.
    const Vec2f shift = editor.mode == kModeLine ? Vec2f{kGridHalf, kGridHalf} : Vec2f{};
    const auto& lines = editor.model.lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool selected = static_cast<int>(i) == editor.selected;
        drawMarker(editedPoint(lines[i], editor.mode) + shift, selected ? kSelectedColour : kOtherColour);
    }
    DRAW_TEXT(nullptr, kCentreLabel.x, kCentreLabel.y, "C", kCentreLabelColour);
}
