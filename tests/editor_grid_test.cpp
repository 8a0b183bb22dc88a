// The editor's grid on the headless backend: dragging, selecting by right click,
// N and both buttons, markers on and off the grid, and the mouse in the preview.
#include "editor_fixture.h"

using namespace editor_test;

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kYellow = 0xFFFFFF00;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kCellGrey = 0xFF606060;

class EditorGrid : public EditorScratch {};

} // namespace

TEST_F(EditorGrid, Drag_MovesTheVertexEachFrameAndTheNextStartFollowsOneFrameLate)
{
    start(diamond());
    ASSERT_EQ(editor.selected, 0);
    frameOnCell(20, 10, MOUSE_LEFT);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(4, -6));
    EXPECT_EQ(editor.model.lines[1].start, Vec2f(0, -10)) << "not closed yet in the frame of the edit";

    frameOnCell(21, 11, MOUSE_LEFT);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(5, -5));
    EXPECT_EQ(editor.model.lines[1].start, Vec2f(4, -6)) << "closed at the start of this frame, before the edit";

    frameOnCell(21, 11, 0);
    EXPECT_EQ(editor.model.lines[1].start, Vec2f(5, -5));
    frameOnCell(25, 25, 0);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(5, -5)) << "no button, no edit";
}

TEST_F(EditorGrid, Drag_InTextureModeMovesTheTexturePointToTheCellItself)
{
    start(diamond());
    editor.mode = kModeTexture;
    editor.selected = 2;
    frameOnCell(0, 32, MOUSE_LEFT);
    EXPECT_EQ(editor.model.lines[2].texEnd, Vec2f(0, 32));
    EXPECT_EQ(editor.model.lines[2].end, Vec2f(0, 10)) << "the vertex stays";
    frameOnCell(0, 32, 0);
    EXPECT_EQ(editor.model.lines[3].texStart, Vec2f(0, 32));
}

TEST_F(EditorGrid, PointerOnABorder_TheCellMetLaterInTheScanWins)
{
    start(diamond());
    // x = 383 is the border of columns 20 and 21, y = 149 that of rows 9 and 10.
    headless::setMouse(383, 149, MOUSE_LEFT);
    runEditorFrame(editor);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(5, -6));
    EXPECT_EQ(screenPixel(383 + 14, 149 + 14), kWhite) << "the hovered box is that of cell (21, 10)";
    EXPECT_EQ(screenPixel(383 - 14, 149 - 14), kCellGrey) << "cell (20, 9) is not boxed in white";
}

TEST_F(EditorGrid, RightClick_SelectsTheHighestLineEndingInTheCell)
{
    start(modelWith({{1, 1}, {3, 3}, {5, 5}, {3, 3}, {7, 7}}, {}));
    frameOnCell(19, 19, MOUSE_RIGHT);
    EXPECT_EQ(editor.selected, 3);
    frameOnCell(17, 17, MOUSE_RIGHT);
    EXPECT_EQ(editor.selected, 0);
    frameOnCell(30, 2, MOUSE_RIGHT);
    EXPECT_EQ(editor.selected, 0) << "an empty cell changes nothing";
    frameOnCell(23, 23, MOUSE_RIGHT);
    EXPECT_EQ(editor.selected, 4);
    EXPECT_EQ(editor.model.lines[4].end, Vec2f(7, 7)) << "selecting moves nothing";
}

TEST_F(EditorGrid, RightClick_InTextureModeMatchesTexturePoints)
{
    start(diamond());
    editor.mode = kModeTexture;
    frameOnCell(26, 16, MOUSE_RIGHT);
    EXPECT_EQ(editor.selected, 1);
    frameOnCell(24, 16, MOUSE_RIGHT); // line 1's vertex (8, 0) sits here in LINE mode
    EXPECT_EQ(editor.selected, 1);
}

TEST_F(EditorGrid, HoldingN_LeftClicksEditNothingAndRightDoesNotSelectWhileLeftIsDown)
{
    start(diamond());
    const Model before = editor.model;
    headless::setKey(scancode::N, true);
    frameOnCell(20, 20, MOUSE_LEFT);
    frameOnCell(16, 26, MOUSE_LEFT | MOUSE_RIGHT); // line 2 ends here
    EXPECT_TRUE(editor.hold);
    EXPECT_TRUE(sameModel(editor.model, before));
    EXPECT_EQ(editor.selected, 0);

    frameOnCell(16, 26, MOUSE_RIGHT);
    EXPECT_EQ(editor.selected, 2) << "N alone does not stop selecting";
    headless::setKey(scancode::N, false);
    frameOnCell(20, 20, MOUSE_LEFT);
    EXPECT_FALSE(editor.hold);
    EXPECT_EQ(editor.model.lines[2].end, Vec2f(4, 4));
}

TEST_F(EditorGrid, BothButtons_EditWithTheLeftAndSelectNothing)
{
    start(diamond());
    frameOnCell(16, 26, MOUSE_LEFT | MOUSE_RIGHT); // where line 2 ends
    EXPECT_EQ(editor.selected, 0);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(0, 10));
}

TEST_F(EditorGrid, Markers_RedForTheSelectedLineYellowForOthersOverGreyCellsAndTheC)
{
    start(diamond());
    headless::setMouseOutside();
    runEditorFrame(editor);
    EXPECT_EQ(screenPixel(320, 240 - 140), kRed) << "line 0 ends at (0, -10)";
    EXPECT_EQ(screenPixel(320 + 112, 240), kYellow);
    EXPECT_EQ(screenPixel(320, 240 + 140), kYellow);
    EXPECT_EQ(screenPixel(320 - 112, 240), kYellow);
    EXPECT_EQ(screenPixel(320 + 112 + 5, 240), kYellow) << "radius 5";
    EXPECT_NE(screenPixel(320 + 112 + 6, 240), kYellow);
    EXPECT_EQ(screenPixel(89, 9), kCellGrey);
    EXPECT_EQ(screenPixel(89 + 14 * 33, 9 + 14 * 33), kCellGrey);
    int centreWhite = 0;
    for (int y = 236; y < 244; ++y) {
        for (int x = 316; x < 324; ++x) centreWhite += screenPixel(x, y) == kWhite;
    }
    EXPECT_GT(centreWhite, 4) << "the C over the centre cell";

    editor.mode = kModeTexture;
    runEditorFrame(editor);
    EXPECT_EQ(screenPixel(89 + 16 * 14 + 7, 9 + 4 * 14 + 7), kRed) << "line 0's texture point (16, 4)";
    EXPECT_EQ(screenPixel(89 + 26 * 14 + 7, 9 + 16 * 14 + 7), kYellow);
}

TEST_F(EditorGrid, OffGridVertex_MarkedOutsideTheGridAndSelectableOnlyByArrows)
{
    // Line 1 ends at (20, 0): marker centre (600, 240), right of the grid's last column.
    // Line 2 ends at (-30, 0): its marker lies left of the window altogether.
    start(modelWith({{0, -10}, {20, 0}, {-30, 0}}, {}));
    frameOnCell(0, 0, 0);
    EXPECT_EQ(screenPixel(600, 240), kYellow);
    headless::setMouse(600, 240, MOUSE_RIGHT);
    runEditorFrame(editor);
    EXPECT_EQ(editor.selected, 0) << "no cell lies under the marker";

    frameHoldingKey(scancode::UP);
    EXPECT_EQ(editor.selected, 1);
    EXPECT_EQ(screenPixel(600, 240), kRed);
    frameHoldingKey(scancode::UP);
    EXPECT_EQ(editor.selected, 2);
    frameOnCell(0, 16, MOUSE_LEFT);
    EXPECT_EQ(editor.model.lines[2].end, Vec2f(-16, 0)) << "once selected it can be dragged back onto the grid";
}

TEST_F(EditorGrid, Preview_MouseHasNoEffectAndMChangesOnlyTheLabel)
{
    start(diamond());
    frameHoldingKey(scancode::G);
    ASSERT_FALSE(editor.gridShown);
    const Model before = editor.model;
    frameOnCell(20, 10, MOUSE_LEFT);
    frameOnCell(16, 26, MOUSE_RIGHT);
    frameOnCell(16, 26, 0);
    EXPECT_EQ(editor.selected, 0);
    for (size_t i = 0; i < before.lines.size(); ++i) {
        EXPECT_EQ(editor.model.lines[i].end, before.lines[i].end);
        EXPECT_EQ(editor.model.lines[i].texEnd, before.lines[i].texEnd);
    }

    const std::vector<uint32_t> lineFrame(reinterpret_cast<const uint32_t*>(SCREEN_POINTER()),
                                          reinterpret_cast<const uint32_t*>(SCREEN_POINTER()) + 640 * 480);
    frameHoldingKey(scancode::M);
    EXPECT_EQ(editor.mode, kModeTexture);
    int differing = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (screenPixel(x, y) == lineFrame[y * 640 + x]) continue;
            ++differing;
            EXPECT_LT(y, 9) << "only the status line may change: " << x << "," << y;
        }
    }
    EXPECT_GT(differing, 0) << "the label changed from LINE to TEXTURE";
}

TEST_F(EditorGrid, Preview_DrawsTheTexturedShipFivePixelsPerUnitAroundTheCentre)
{
    start(diamond());
    frameHoldingKey(scancode::G);
    int lit = 0;
    for (int y = 9; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (screenPixel(x, y) == 0xFF000000u) continue;
            ++lit;
            // The diamond reaches 8 units (40 pixels) across and 10 (50 pixels) up and down.
            EXPECT_LE(std::abs(x - 320) * 50 + std::abs(y - 240) * 40, 2000 + 90) << x << "," << y;
        }
    }
    EXPECT_GT(lit, 3000) << "most of the 4000-pixel diamond shows the texture";
}
