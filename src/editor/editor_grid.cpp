// The grid view: the mouse's edits and selections, and the texture, cells, outline
// and markers. Every access to the line list goes through the model's own bounds, so
// an empty model or a selection past the last line never reads or writes outside it.
#include "editor/editor_grid.h"

#include "editor/grid_texture.h"
#include "platform/platform.h"

#include <cmath>

namespace {

constexpr uint32_t kCellColour = 0xFF606060;
constexpr uint32_t kHoverColour = 0xFFFFFFFF;
constexpr uint32_t kSelectedColour = 0xFFFF0000;
constexpr uint32_t kOtherColour = 0xFFFFFF00;
constexpr uint32_t kOutlineColour = 0xFFA0A0A0; // lighter than the cells, so the shape stands out
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

bool selectionIsALine(const Editor& editor)
{
    return editor.selected >= 0 && static_cast<size_t>(editor.selected) < editor.model.lines.size();
}

void moveSelectedPoint(Editor& editor, int column, int row)
{
    if (!selectionIsALine(editor)) return;
    editor.model.lines[editor.selected].*editedPoint(editor.mode) = cellPoint(editor, column, row);
}

void selectLastLineAt(Editor& editor, int column, int row)
{
    const Vec2f point = cellPoint(editor, column, row);
    const auto& lines = editor.model.lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].*editedPoint(editor.mode) == point) editor.selected = static_cast<int>(i);
    }
}

void drawCellBox(int column, int row, uint32_t colour)
{
    const float left = cellLeft(column);
    const float top = cellTop(row);
    DRAW_LINE(nullptr, left, top, left + kCellSize, top + kCellSize, colour, LINE_KIND_BOX, LINE_STYLE_SOLID);
}

// Where line i's point is marked: the centre of its cell, with the point rounded to
// the nearest pixel (halves to even) in float, so a point far off the grid stays a
// float far off the screen. In LINE mode the model origin is cell (16, 16).
Vec2f markerCentre(const Editor& editor, size_t i)
{
    const Vec2f shift = editor.mode == kModeLine ? Vec2f{kGridHalf, kGridHalf} : Vec2f{};
    const Vec2f gridPoint = editor.model.lines[i].*editedPoint(editor.mode) + shift;
    const float halfCell = kCellSize / 2.0f;
    return {static_cast<float>(kGridLeft) + std::nearbyint(gridPoint.x * kCellSize) + halfCell,
            static_cast<float>(kGridTop) + std::nearbyint(gridPoint.y * kCellSize) + halfCell};
}

// Line i runs from point i - 1 to point i (line 0 from the last point). Drawn between
// the markers rather than from the starts, which trail a drag by one frame.
void drawOutlineLine(const Editor& editor, size_t i, uint32_t colour)
{
    const size_t count = editor.model.lines.size();
    const Vec2f from = markerCentre(editor, (i + count - 1) % count);
    const Vec2f to = markerCentre(editor, i);
    DRAW_LINE(nullptr, from.x, from.y, to.x, to.y, colour);
}

// The closed outline in grey, with the selected line over it in red.
void drawOutline(const Editor& editor)
{
    const size_t count = editor.model.lines.size();
    for (size_t i = 0; i < count; ++i) drawOutlineLine(editor, i, kOutlineColour);
    if (selectionIsALine(editor)) drawOutlineLine(editor, editor.selected, kSelectedColour);
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
    if (editor.mode == kModeTexture) drawTextureUnderGrid(editor.texture);
    for (int row = 0; row < kGridCells; ++row) {
        for (int column = 0; column < kGridCells; ++column) drawCellBox(column, row, kCellColour);
    }
    if (hovered) drawCellBox(hovered->column, hovered->row, kHoverColour);
    drawOutline(editor);
    for (size_t i = 0; i < editor.model.lines.size(); ++i) {
        const Vec2f centre = markerCentre(editor, i);
        const uint32_t colour = static_cast<int>(i) == editor.selected ? kSelectedColour : kOtherColour;
        DRAW_CIRCLE(nullptr, centre.x, centre.y, kMarkerRadius, colour, kScreenAspect, 0.0f, kWholeTurn, kFilled);
    }
    DRAW_TEXT(nullptr, kCentreLabel.x, kCentreLabel.y, "C", kCentreLabelColour);
}
