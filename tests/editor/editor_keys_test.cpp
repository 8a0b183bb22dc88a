// The editor's keys on the headless backend: one action per press, the selection's
// bounds, saving and reloading, and the failures that must never lose the user's work.
#include "support/editor_fixture.h"
#include "editor/editor_keys.h"
#include "editor/editor_help.h"

#include "model/mdata_text.h"
#include "platform/file_replace.h"

using namespace editor_test;

using EditorKeys = EditorScratch;

TEST(WaitKey, PumpsBeforeItLooksSoAKeyLetGoDuringThePumpIsUp)
{
    headless::reset();
    int pumps = 0;
    headless::onPump([&] { ++pumps; });
    EXPECT_TRUE(WAIT_KEY(scancode::S));
    EXPECT_EQ(pumps, 1);
    headless::setKey(scancode::S, true);
    EXPECT_FALSE(WAIT_KEY(scancode::S));
    headless::onPump([&] { headless::setKey(scancode::S, false); });
    EXPECT_TRUE(WAIT_KEY(scancode::S));
    headless::reset();
}

TEST_F(EditorKeys, WhileACommandsKeyIsHeld_FramesDrawNothingAndNoOtherKeyActs)
{
    start(diamond());
    headless::setKey(scancode::M, true);
    runEditorFrame(editor);
    EXPECT_EQ(editor.mode, kModeTexture);
    const int shown = headless::presentedFrames();
    headless::setKey(scancode::G, true);
    for (int frame = 0; frame < 3; ++frame) EXPECT_TRUE(runEditorFrame(editor));
    EXPECT_EQ(headless::presentedFrames(), shown);
    EXPECT_TRUE(editor.gridShown) << "G waits for M to go up";
    headless::setKey(scancode::M, false);
    runEditorFrame(editor);
    EXPECT_FALSE(editor.gridShown);
    EXPECT_EQ(editor.mode, kModeTexture);
}

TEST_F(EditorKeys, HoldingS_WritesTheFileOncePerPress)
{
    start(diamond());
    int writes = 0;
    auto countWrites = [&] {
        if (fs::exists(shipPath())) {
            ++writes;
            fs::remove(shipPath());
        }
    };
    fs::remove(shipPath());
    frameHoldingKey(scancode::S, 50, countWrites);
    EXPECT_EQ(writes, 1);
    headless::onPump(countWrites);
    for (int frame = 0; frame < 3; ++frame) runEditorFrame(editor);
    EXPECT_EQ(writes, 1) << "nothing more without a new press";
    frameHoldingKey(scancode::S, 50, countWrites);
    EXPECT_EQ(writes, 2);
}

TEST_F(EditorKeys, S_ClosesTheOutlineAndSavesTheDraggedVertex)
{
    start(diamond());
    frameOnCell(21, 8, MOUSE_LEFT); // still open: line 1 starts at the old vertex
    headless::setMouseOutside();
    frameHoldingKey(scancode::S);
    Model saved;
    ASSERT_TRUE(LOAD(saved, "Ship.mdata"));
    ASSERT_EQ(saved.lines.size(), 4u);
    EXPECT_EQ(saved.lines[0].end, Vec2f(5, -8));
    EXPECT_EQ(saved.lines[1].start, Vec2f(5, -8)) << "sealed before it was written";
    EXPECT_EQ(saved.lines[0].start, Vec2f(-8, 0));
    EXPECT_EQ(fileBytes(shipPath()).substr(0, 4), " 3\r\n");
}

TEST_F(EditorKeys, HoldingUp_MovesTheSelectionOncePerPressAndStopsAtTheLastLine)
{
    start(diamond());
    frameHoldingKey(scancode::UP, 30);
    EXPECT_EQ(editor.selected, 1);
    frameHoldingKey(scancode::UP);
    frameHoldingKey(scancode::UP);
    EXPECT_EQ(editor.selected, 3);
    frameHoldingKey(scancode::UP);
    EXPECT_EQ(editor.selected, 3) << "Up on the last line keeps it";
    frameHoldingKey(scancode::DOWN, 30);
    EXPECT_EQ(editor.selected, 2);
    frameHoldingKey(scancode::DOWN);
    frameHoldingKey(scancode::DOWN);
    frameHoldingKey(scancode::DOWN);
    EXPECT_EQ(editor.selected, 0) << "Down on line 0 keeps it";
}

TEST_F(EditorKeys, L_ThrowsAwayUnsavedEdits)
{
    start(diamond());
    frameOnCell(30, 30, MOUSE_LEFT);
    headless::setMouseOutside(); // a button still down would edit the reloaded model at once
    frameHoldingKey(scancode::L);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(0, -10));
}

TEST_F(EditorKeys, L_KeepsTheSelectionWithinAShorterModel)
{
    start(diamond());
    for (int press = 0; press < 3; ++press) frameHoldingKey(scancode::UP);
    ASSERT_EQ(editor.selected, 3);
    writeShip(modelWith({{1, 1}, {2, 2}}, {}));
    frameHoldingKey(scancode::L);
    ASSERT_EQ(editor.model.lines.size(), 2u);
    EXPECT_EQ(editor.selected, 1);
    frameOnCell(10, 10, MOUSE_LEFT);
    EXPECT_EQ(editor.model.lines[1].end, Vec2f(-6, -6));
}

TEST_F(EditorKeys, EmptyModel_SurvivesEveryKeyAndClickAndSavesAsEmpty)
{
    start(modelWith({}, {}));
    for (const int key : {scancode::UP, scancode::DOWN, scancode::UP}) {
        frameHoldingKey(key);
        EXPECT_EQ(editor.selected, 0);
    }
    for (const int mode : {kModeLine, kModeTexture}) {
        editor.mode = mode;
        for (const int buttons : {MOUSE_LEFT, MOUSE_RIGHT, MOUSE_LEFT | MOUSE_RIGHT, 0}) frameOnCell(16, 16, buttons);
    }
    frameHoldingKey(scancode::G);
    frameOnCell(16, 16, MOUSE_LEFT);
    frameHoldingKey(scancode::S);
    frameHoldingKey(scancode::L);
    EXPECT_TRUE(frameHoldingKey(scancode::G));
    EXPECT_TRUE(editor.model.lines.empty());
    EXPECT_EQ(editor.selected, 0);
    EXPECT_EQ(fileBytes(shipPath()), "-1\r\n");
}

TEST_F(EditorKeys, FailedSave_KeepsModelAndOldFileShowsWhyAndCarriesOn)
{
    start(diamond());
    const std::string oldFile = fileBytes(shipPath());
    // A folder in the file's place, put there after loading, makes every save fail.
    fs::rename(shipPath(), "Ship.mdata.kept");
    fs::create_directory(shipPath());

    frameOnCell(21, 8, MOUSE_LEFT); // the edit leaves the outline open until next frame
    // ... which closes it, S or not: the failed save itself must change nothing more.
    Model edited = editor.model;
    SEAL(edited);
    headless::setMouseOutside();
    bool keptWhileHeld = true;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const auto checkModel = [&] { keptWhileHeld = keptWhileHeld && sameModel(editor.model, edited); };
    EXPECT_TRUE(frameHoldingKey(scancode::S, 3, checkModel));
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << "said once, on stderr and in the status line";
    EXPECT_TRUE(keptWhileHeld) << "the model stays exactly as the frame left it";
    EXPECT_EQ(errors, "editor: Could not save file! data/model/Ship.mdata: Is a directory\n");
    EXPECT_EQ(editor.notice, "Could not save file! data/model/Ship.mdata: Is a directory");
    EXPECT_TRUE(messageLineShows(editor.notice));
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(5, -8));

    // Once the way is clear the same work saves, and the notice goes.
    fs::remove(shipPath());
    fs::rename("Ship.mdata.kept", shipPath());
    EXPECT_EQ(fileBytes(shipPath()), oldFile);
    frameHoldingKey(scancode::S);
    EXPECT_EQ(editor.notice, "");
    Model saved;
    ASSERT_TRUE(LOAD(saved, "Ship.mdata"));
    EXPECT_EQ(saved.lines[0].end, Vec2f(5, -8));
    runEditorFrame(editor);
    EXPECT_TRUE(messageLineShows(""));
}

TEST_F(EditorKeys, SaveToTheUsersOwnCopy_MakesItsFoldersSaysWhereAndReloadsFromThere)
{
    start(diamond());
    const std::string shipped = fileBytes(shipPath());
    editor.savePath = (scratch.path() / "home/space-game/model/Ship.mdata").string();
    editor.savedNotice = "Saved to ~/space-game/model/Ship.mdata";
    frameOnCell(21, 8, MOUSE_LEFT);
    frameOnCell(21, 8, 0);
    frameHoldingKey(scancode::S);
    EXPECT_EQ(editor.notice, editor.savedNotice);
    EXPECT_TRUE(messageLineShows(editor.savedNotice));
    EXPECT_EQ(fileBytes(shipPath()), shipped) << "the shipped ship is left alone";
    Model own;
    ASSERT_TRUE(loadModelFile(own, editor.savePath));
    EXPECT_EQ(own.lines[0].end, Vec2f(5, -8));

    frameOnCell(16, 16, MOUSE_LEFT);
    frameOnCell(16, 16, 0);
    headless::setMouseOutside();
    frameHoldingKey(scancode::L);
    EXPECT_EQ(editor.model.lines[0].end, Vec2f(5, -8)) << "L reloads what S saved, not the shipped ship";
}

// Where the backend stores the file after the save (the browser), "saved" waits for
// it, and a store that fails leaves the changes unsaved and says why.
TEST_F(EditorKeys, SaveKeptByTheBackendLater_CountsOnlyOnceStored)
{
    start(diamond());
    editor.savedNotice = "Saved to ~/space-game/model/Ship.mdata";
    frameOnCell(21, 8, MOUSE_LEFT);
    frameOnCell(21, 8, 0);
    headless::setMouseOutside();
    headless::keepSavedFiles(FileKept::pending);
    frameHoldingKey(scancode::S);
    EXPECT_EQ(editor.notice, "Saving Ship.mdata...");
    EXPECT_TRUE(hasUnsavedChanges(editor));
    runEditorFrame(editor);
    EXPECT_TRUE(hasUnsavedChanges(editor)) << "still being stored";
    headless::keepSavedFiles(FileKept::yes);
    runEditorFrame(editor);
    EXPECT_EQ(editor.notice, editor.savedNotice);
    EXPECT_FALSE(hasUnsavedChanges(editor));

    frameOnCell(16, 16, MOUSE_LEFT);
    frameOnCell(16, 16, 0);
    headless::setMouseOutside();
    headless::keepSavedFiles(FileKept::failed, "the browser's storage for this site is full");
    ::testing::internal::CaptureStderr();
    frameHoldingKey(scancode::S);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "editor: Ship.mdata not saved: the browser's storage for this site is full\n");
    EXPECT_TRUE(messageLineShows("Ship.mdata not saved: the browser's storage for this site is full"));
    EXPECT_TRUE(hasUnsavedChanges(editor));
    headless::keepSavedFiles(FileKept::yes);
    runEditorFrame(editor);
    EXPECT_TRUE(hasUnsavedChanges(editor)) << "a failed save is not retried behind the user's back";
}

TEST_F(EditorKeys, SaveWhereNoFolderCanBeMade_KeepsTheEditsAndSaysWhy)
{
    start(diamond());
    std::ofstream(scratch.path() / "home") << "a file where the home folder should be";
    editor.savePath = (scratch.path() / "home/space-game/model/Ship.mdata").string();
    frameOnCell(21, 8, MOUSE_LEFT);
    frameOnCell(21, 8, 0);
    const Model edited = editor.model;
    ::testing::internal::CaptureStderr();
    frameHoldingKey(scancode::S);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(editor.notice.rfind("Could not save file! " + (scratch.path() / "home/space-game").string() + ": ", 0),
              0u)
        << editor.notice;
    EXPECT_NE(errors.find(editor.notice), std::string::npos) << errors;
    EXPECT_TRUE(sameModel(editor.model, edited));
    ::testing::internal::CaptureStderr();
    frameHoldingKey(scancode::S);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), errors) << "and again, the same";
    EXPECT_TRUE(sameModel(editor.model, edited));
}

TEST_F(EditorKeys, FailedReload_KeepsTheModelShowsWhyAndCarriesOn)
{
    start(diamond());
    frameOnCell(21, 8, MOUSE_LEFT);
    frameOnCell(21, 8, 0);
    const Model edited = editor.model;
    fs::remove(shipPath());
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(frameHoldingKey(scancode::L));
    const std::string notice = "Could not load file! data/model/Ship.mdata: No such file or directory";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "editor: " + notice + "\n");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << "said once, on stderr and in the status line";
    EXPECT_TRUE(sameModel(editor.model, edited));
    EXPECT_EQ(editor.notice, notice);
    EXPECT_TRUE(messageLineShows(notice));
    EXPECT_TRUE(runEditorFrame(editor));
    EXPECT_TRUE(messageLineShows(notice)) << "the notice stays until an S or L succeeds";
}

TEST_F(EditorKeys, Escape_EndsTheEditorAfterTheFrameIsShown)
{
    start(diamond());
    headless::onPump([] { headless::setKey(scancode::ESCAPE, true); });
    EXPECT_FALSE(runEditorFrame(editor));
    EXPECT_EQ(headless::presentedFrames(), 1);
}

TEST_F(EditorKeys, F1_ShowsTheKeysOverTheDimmedGridUntilF1OrEscapeAndNothingEditsMeanwhile)
{
    start(diamond());
    const Model before = editor.model;
    ASSERT_TRUE(runEditorFrame(editor));
    const uint32_t gridBorder = screenPixel(89, 400); // column 0's left border, below the help's text
    ASSERT_EQ(gridBorder, 0xFF606060u);
    ASSERT_TRUE(frameHoldingKey(scancode::F1));
    ASSERT_TRUE(editor.helpShown);
    EXPECT_EQ(screenPixel(89, 400), 0xFF303030u);
    for (const std::string& line : editorHelpLines()) EXPECT_LE(line.size(), 80u) << line; // the window's columns
    EXPECT_TRUE(frameOnCell(21, 8, MOUSE_LEFT));
    EXPECT_TRUE(frameHoldingKey(scancode::UP));
    EXPECT_TRUE(sameModel(editor.model, before));
    EXPECT_EQ(editor.selected, 0);
    headless::setMouseOutside();
    ASSERT_TRUE(frameHoldingKey(scancode::F1));
    EXPECT_FALSE(editor.helpShown);
    EXPECT_EQ(screenPixel(89, 400), gridBorder);

    // Escape closes the help and, held as long as it may be, does not quit as well.
    ASSERT_TRUE(frameHoldingKey(scancode::F1));
    ASSERT_TRUE(frameHoldingKey(scancode::ESCAPE, 30));
    EXPECT_FALSE(editor.helpShown);
    EXPECT_TRUE(runEditorFrame(editor));
    EXPECT_FALSE(frameHoldingKey(scancode::ESCAPE)) << "Escape quits again once the help is closed";
}
