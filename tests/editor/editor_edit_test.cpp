// Editing beyond moving points, on the headless backend: undo and redo, inserting
// and deleting vertices, nudging, a click shorter than a frame, and quitting with
// unsaved changes. The outline must stay closed after every step.
#include "support/editor_fixture.h"
#include "editor/editor_grid.h"

#include <cmath>
#include <vector>

using namespace editor_test;

// Readable failures: (x, y) instead of the vector's bytes.
void PrintTo(const Vec2f& v, std::ostream* out) { *out << "(" << v.x << ", " << v.y << ")"; }

namespace {

class EditorEdits : public EditorScratch {
protected:
    void press(int scanCode) { frameHoldingKey(scanCode); }
    void pressWithCtrl(int scanCode, bool shift = false)
    {
        headless::setKey(scancode::CTRL, true);
        headless::setKey(scancode::LEFT_SHIFT, shift);
        frameHoldingKey(scanCode);
        headless::releaseAllKeys();
    }
    // A click pressed and released between two frames, then a frame without it.
    void tap(int column, int row)
    {
        headless::setMouse(cellCentreX(column), cellCentreY(row), MOUSE_LEFT);
        headless::setMouse(cellCentreX(column), cellCentreY(row), 0);
        runEditorFrame(editor);
        headless::setMouseOutside();
        runEditorFrame(editor);
    }
    // Presses the left button on the first cell, moves through the others and lets go.
    void drag(std::initializer_list<GridCell> cells)
    {
        for (const GridCell cell : cells) frameOnCell(cell.column, cell.row, MOUSE_LEFT);
        frameOnCell(cells.begin()->column, cells.begin()->row, 0);
        headless::setMouseOutside();
    }
    std::vector<Vec2f> ends() const
    {
        std::vector<Vec2f> points;
        for (const ModelLine& line : editor.model.lines) points.push_back(line.end);
        return points;
    }
    bool sealed() const
    {
        const auto& lines = editor.model.lines;
        for (size_t i = 0; i < lines.size(); ++i) {
            const ModelLine& previous = lines[(i + lines.size() - 1) % lines.size()];
            if (lines[i].start != previous.end || lines[i].texStart != previous.texEnd) return false;
        }
        return editor.model.transformed.size() == lines.size();
    }
    // Escape down for one frame, then up for another; false once the editor ended.
    bool escape()
    {
        headless::setKey(scancode::ESCAPE, true);
        const bool running = runEditorFrame(editor);
        headless::setKey(scancode::ESCAPE, false);
        return running && runEditorFrame(editor);
    }
};

} // namespace

// One run through every kind of step, with the vertices expected after each.
TEST_F(EditorEdits, EditSequence_EachStepGivesTheExpectedOutline)
{
    start(diamond());
    const Model triangle = modelWith({{0, -5}, {5, 5}, {-5, 5}}, {});
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<Vec2f> expected;
        int selected;
    };
    const std::vector<Step> steps = {
        {"a drag over three cells", [&] { drag({{20, 10}, {21, 11}, {22, 12}}); }, {{6, -4}, {8, 0}, {0, 10}, {-8, 0}}, 0},
        {"undo takes the whole drag back", [&] { pressWithCtrl(scancode::Z); }, {{0, -10}, {8, 0}, {0, 10}, {-8, 0}}, 0},
        {"Ctrl+Y redoes it", [&] { pressWithCtrl(scancode::Y); }, {{6, -4}, {8, 0}, {0, 10}, {-8, 0}}, 0},
        {"Insert splits line 0", [&] { press(scancode::INSERT); }, {{-1, -2}, {6, -4}, {8, 0}, {0, 10}, {-8, 0}}, 0},
        {"Ctrl+Right nudges", [&] { pressWithCtrl(scancode::RIGHT); }, {{0, -2}, {6, -4}, {8, 0}, {0, 10}, {-8, 0}}, 0},
        {"Up selects, Ctrl+Up nudges", [&] { press(scancode::UP), pressWithCtrl(scancode::UP); },
         {{0, -2}, {6, -5}, {8, 0}, {0, 10}, {-8, 0}}, 1},
        {"X deletes the vertex", [&] { press(scancode::X); }, {{0, -2}, {8, 0}, {0, 10}, {-8, 0}}, 1},
        {"Delete too", [&] { press(scancode::DELETE); }, {{0, -2}, {0, 10}, {-8, 0}}, 1},
        {"never below three lines", [&] { press(scancode::DELETE); }, {{0, -2}, {0, 10}, {-8, 0}}, 1},
        {"a tap between two frames", [&] { tap(26, 26); }, {{0, -2}, {10, 10}, {-8, 0}}, 1},
        {"L reloads", [&] { writeShip(triangle), press(scancode::L); }, {{0, -5}, {5, 5}, {-5, 5}}, 1},
        {"undo brings back what L threw away", [&] { pressWithCtrl(scancode::Z); }, {{0, -2}, {10, 10}, {-8, 0}}, 1},
        {"undo the tap", [&] { pressWithCtrl(scancode::Z); }, {{0, -2}, {0, 10}, {-8, 0}}, 1},
        {"Ctrl+Shift+Z redoes", [&] { pressWithCtrl(scancode::Z, true); }, {{0, -2}, {10, 10}, {-8, 0}}, 1},
        {"an edit forgets the redo", [&] { pressWithCtrl(scancode::LEFT), pressWithCtrl(scancode::Y); },
         {{0, -2}, {9, 10}, {-8, 0}}, 1},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(ends(), step.expected) << step.what;
        EXPECT_EQ(editor.selected, step.selected) << step.what;
        EXPECT_TRUE(sealed()) << step.what;
    }
}

TEST_F(EditorEdits, RefusalsAndWarnings_ShowInTheMessageLine)
{
    start(modelWith({{0, -5}, {5, 5}, {-5, 5}}, {}));
    runEditorFrame(editor);
    EXPECT_TRUE(messageLineShows("3 lines: the game needs 4 for the nose, tail and flames"));
    press(scancode::X);
    EXPECT_TRUE(messageLineShows("Cannot delete: an outline needs at least 3 lines"));
    pressWithCtrl(scancode::Z);
    EXPECT_TRUE(messageLineShows("Nothing to undo"));
    headless::advanceTime(3.5);
    runEditorFrame(editor);
    EXPECT_TRUE(messageLineShows("3 lines: the game needs 4 for the nose, tail and flames")) << "the answer goes";
}

TEST_F(EditorEdits, Insert_SplitsTexturePointsLandsOnAZeroLengthLineAndStartsAnEmptyModel)
{
    start(modelWith({{0, -10}, {0, -10}, {8, 0}}, {{16, 4}, {17, 5}, {26, 16}}));
    editor.selected = 1; // from (0, -10) to the same (0, -10)
    press(scancode::I);
    EXPECT_EQ(ends(), (std::vector<Vec2f>{{0, -10}, {0, -10}, {0, -10}, {8, 0}}));
    EXPECT_EQ(editor.model.lines[1].texEnd, Vec2f(16.5f, 4.5f));
    EXPECT_TRUE(sealed());

    writeShip(modelWith({}, {}));
    press(scancode::L);
    press(scancode::INSERT);
    EXPECT_EQ(ends(), (std::vector<Vec2f>{{0, -8}, {6, 6}, {-6, 6}})) << "a first triangle around the centre";
    EXPECT_TRUE(sealed());
}

TEST_F(EditorEdits, UndoingEverything_SavesTheOriginalFileByteForByte)
{
    start(diamond());
    const std::string original = fileBytes(shipPath());
    drag({{20, 10}, {25, 3}});
    press(scancode::INSERT);
    press(scancode::M);
    pressWithCtrl(scancode::DOWN);
    press(scancode::S); // a save keeps the history
    press(scancode::DELETE);
    for (int i = 0; i < 6; ++i) pressWithCtrl(scancode::Z);
    press(scancode::S);
    EXPECT_EQ(fileBytes(shipPath()), original);
}

TEST_F(EditorEdits, History_KeepsAtLeastAHundredSteps)
{
    start(diamond());
    for (int i = 0; i < 120; ++i) pressWithCtrl(scancode::RIGHT);
    for (int i = 0; i < 120; ++i) pressWithCtrl(scancode::Z);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(0, -10));
}

TEST_F(EditorEdits, UnsavedChanges_MarkTheTitleAndEscapeMustBeGivenTwiceWithinAFewSeconds)
{
    start(diamond());
    runEditorFrame(editor);
    EXPECT_EQ(editor.title, "Ship.mdata - Ship Editor");
    drag({{20, 10}});
    EXPECT_EQ(editor.title, "*Ship.mdata - Ship Editor");

    EXPECT_TRUE(escape()) << "the first Escape only asks";
    EXPECT_TRUE(messageLineShows("Unsaved changes: S saves, Escape again quits without saving"));
    headless::advanceTime(3.5);
    EXPECT_TRUE(escape()) << "too late: asks again";
    headless::advanceTime(2.0);
    headless::setKey(scancode::ESCAPE, true);
    EXPECT_FALSE(runEditorFrame(editor)) << "a second Escape within the few seconds quits";
}

TEST_F(EditorEdits, UnsavedChanges_TheCloseButtonAsksFirstTooAndSavingLetsEscapeQuitAtOnce)
{
    start(diamond());
    pressWithCtrl(scancode::LEFT);
    pressWithCtrl(scancode::Z);
    EXPECT_EQ(editor.title, "Ship.mdata - Ship Editor") << "undone back to the file";
    pressWithCtrl(scancode::LEFT);
    headless::requestClose();
    EXPECT_TRUE(runEditorFrame(editor));
    EXPECT_TRUE(runEditorFrame(editor)) << "the request was answered, not kept";
    headless::requestClose();
    EXPECT_FALSE(runEditorFrame(editor));

    headless::advanceTime(5.0);
    EXPECT_TRUE(escape());
    press(scancode::S);
    EXPECT_EQ(editor.title, "Ship.mdata - Ship Editor");
    headless::setKey(scancode::ESCAPE, true);
    EXPECT_FALSE(runEditorFrame(editor)) << "nothing left to lose";
}

TEST_F(EditorEdits, TexturePointEdits_AreUnsavedChangesAndUndoSteps)
{
    start(diamond());
    const Vec2f before = editor.model.lines[0].texEnd;
    press(scancode::M);
    pressWithCtrl(scancode::RIGHT);
    EXPECT_EQ(editor.model.lines[0].texEnd, before + Vec2f(1, 0));
    EXPECT_EQ(editor.title, "*Ship.mdata - Ship Editor");
    pressWithCtrl(scancode::Z);
    EXPECT_EQ(editor.model.lines[0].texEnd, before);
    EXPECT_EQ(editor.title, "Ship.mdata - Ship Editor");
}

// A key pressed while the left button is still down after a drag: the drag so far
// is a step of its own, so undo takes back only the key's command.
TEST_F(EditorEdits, ACommandDuringADrag_IsAStepApartFromTheDrag)
{
    start(diamond());
    frameOnCell(20, 10, MOUSE_LEFT);
    const std::vector<Vec2f> dragged = ends();
    headless::setMouse(5, 240, MOUSE_LEFT); // off the grid, still held
    press(scancode::INSERT);
    headless::setMouseOutside();
    runEditorFrame(editor);
    ASSERT_EQ(ends().size(), 5u);
    pressWithCtrl(scancode::Z);
    EXPECT_EQ(ends(), dragged);
}
