// The editor's grid on the headless backend: dragging, selecting by right click,
// N and both buttons, markers on and off the grid, and the mouse in the preview.
#include "support/editor_fixture.h"

#include "render/image.h"

#include <cmath>

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

TEST_F(EditorGrid, Outline_GreyLinesBetweenThePointsWithTheSelectedLineRedOnTop)
{
    // Every line lies on the same segment, so the red line 0 shows only if drawn last.
    start(modelWith({{0, -10}, {8, 0}, {0, -10}, {8, 0}}, {{16, 4}, {26, 16}, {16, 28}, {6, 16}}));
    headless::setMouseOutside();
    runEditorFrame(editor);
    EXPECT_EQ(screenPixel(376, 170), kRed) << "the middle of (320, 100) to (432, 240)";

    editor.selected = 1;
    editor.mode = kModeTexture;
    runEditorFrame(editor);
    EXPECT_EQ(screenPixel(390, 156), kRed) << "line 1, texture points (16, 4) to (26, 16)";
    EXPECT_EQ(screenPixel(390, 324), 0xFFA0A0A0) << "line 2, (26, 16) to (16, 28), in grey over the texture";
}

// Against a plain reference: the cell of texture grid point (c, r) is centred on
// texel (8c, 8r), so pixel x shows texel floor((x - 96) / 1.75), at a quarter of its
// brightness; outside the texture the grid stays black.
TEST_F(EditorGrid, TextureMode_ShowsTheTextureUnderTheGridDarkened)
{
    start(modelWith({}, {}));
    editor.mode = kModeTexture;
    headless::setMouseOutside();
    runEditorFrame(editor);
    const Image* texture = editor.texture;
    ASSERT_NE(texture, nullptr);
    int textured = 0;
    for (int y = 10; y < 471; ++y) {
        for (int x = 90; x < 551; ++x) {
            const bool onCellBorder = (x - 89) % 14 == 0 || (y - 9) % 14 == 0;
            const bool underTheC = x >= 316 && x < 324 && y >= 236 && y < 244;
            if (onCellBorder || underTheC) continue;
            const int u = static_cast<int>(std::floor((x - 96) / 1.75));
            const int v = static_cast<int>(std::floor((y - 16) / 1.75));
            uint32_t expected = 0xFF000000;
            if (u >= 0 && v >= 0 && u < int(texture->width) && v < int(texture->height)) {
                const uint32_t texel = imageRow(texture, v)[u];
                expected |= ((texel >> 16 & 0xFF) / 4) << 16 | ((texel >> 8 & 0xFF) / 4) << 8 | (texel & 0xFF) / 4;
                ++textured;
            }
            ASSERT_EQ(screenPixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_GT(textured, 170000) << "the whole texture shows";

    editor.mode = kModeLine;
    runEditorFrame(editor);
    EXPECT_EQ(screenPixel(320 + 3, 240 + 10), 0xFF000000u) << "not in LINE mode";
}
