// The editor's start-up and shut-down on the headless backend, the run-time error
// message that ends it when there is no window or no model to edit, a new file named
// by the user, and a file that is no model, which S must not replace unasked.
#include "support/editor_fixture.h"
#include "editor/edit_history.h"
#include "editor/editor_file.h"
#include "editor/outline_edits.h"
#include "editor/runtime_error.h"

#include "render/image.h"
#include "render/triangles.h"
#include "space/world_size.h"

#include <cstdlib>

using namespace editor_test;

namespace {

class EditorStart : public EditorScratch {};

} // namespace

TEST(RuntimeErrorMessage, NamesTheErrorAndThePlaceInTheRunTimesFormat)
{
    EXPECT_EQ(runtimeErrorMessage(2, 0, "src/model", "LOAD"),
              "\nAborting due to runtime error 2 (file not found) in src/model::LOAD()\n\n");
    EXPECT_EQ(runtimeErrorMessage(1, 57, "src/editor", "startEditor"),
              "\nAborting due to runtime error 1 (illegal function call) at line 57 of src/editor::startEditor()\n\n");
    EXPECT_EQ(runtimeErrorMessage(4, 0, "", ""), "\nAborting due to runtime error 4 (out of memory)\n\n");
    EXPECT_EQ(runtimeErrorMessage(18, 3, "", ""), "\nAborting due to runtime error 18 at line 3\n\n")
        << "numbers from 18 up have no name";
}

TEST_F(EditorStart, SetsUpOneScreenWorldDepthBufferTextureAndModel)
{
    WORLD_W = 2048;
    WORLD_H = 1536;
    ::testing::internal::CaptureStdout();
    start(diamond());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(WORLD_W, 640);
    EXPECT_EQ(WORLD_H, 480);
    EXPECT_EQ(depthBufferEntries(), 640u * 480u);
    ASSERT_NE(editor.texture, nullptr);
    EXPECT_EQ(editor.texture->width, 256u);
    EXPECT_TRUE(sameModel(editor.model, [] {
        Model loaded = diamond();
        loaded.transformed.assign(4, ModelLine{}); // as LOAD leaves it
        return loaded;
    }()));
    EXPECT_EQ(editor.mode, kModeLine);
    EXPECT_TRUE(editor.gridShown);
    EXPECT_EQ(editor.selected, 0);
    EXPECT_EQ(editor.fileName, "Ship.mdata");
}

TEST_F(EditorStart, FirstFrameShowsLineAndTheSelectedVertexInWhiteAtTheTop)
{
    start(diamond());
    ASSERT_TRUE(runEditorFrame(editor));
    std::vector<uint32_t> frame(reinterpret_cast<const uint32_t*>(SCREEN_POINTER()),
                                reinterpret_cast<const uint32_t*>(SCREEN_POINTER()) + 640 * 9);
    SCREEN_CLEAR();
    DRAW_TEXT(nullptr, 1, 1, "LINE", 0xFFFFFFFF);
    DRAW_TEXT(nullptr, 65, 1, "line 1 of 4 at (0, -10)", 0xFFFFFFFF);
    int white = 0;
    for (int i = 0; i < 640 * 9; ++i) {
        EXPECT_EQ(frame[i], screenPixel(i % 640, i / 640)) << i % 640 << "," << i / 640;
        white += frame[i] == 0xFFFFFFFF;
    }
    EXPECT_GT(white, 20);
}

TEST_F(EditorStart, MissingModelEndsWithFileNotFoundInLoadAndPrintsNothingElse)
{
    std::string message;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(startEditor(editor, message), 2);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << "not LOAD's own complaint";
    EXPECT_EQ(message, "\nAborting due to runtime error 2 (file not found) in src/model::LOAD()\n\n");
    EXPECT_EQ(SCREEN_POINTER(), nullptr) << "the window is closed again";
    EXPECT_EQ(DEPTH_BUFFER, nullptr);
    EXPECT_EQ(editor.texture, nullptr);
}

// A file named on the command line that is not there yet is a new model, made by the
// first S, as a text editor makes a new file; only the ship's own file must exist.
TEST_F(EditorStart, NamedFileNotMadeYet_StartsTheFirstTriangleAndSMakesIt)
{
    editor.modelPath = editor.savePath = "ships/New.mdata";
    editor.fileName = "New.mdata";
    editor.fileNamed = true;
    std::string message;
    ASSERT_EQ(startEditor(editor, message), 0) << message;
    started = true;
    Model first;
    insertVertex(first, 0);
    EXPECT_TRUE(sameModel(editor.model, first));
    EXPECT_EQ(editor.notice, "New file: S creates New.mdata");
    EXPECT_FALSE(hasUnsavedChanges(editor)) << "nothing to lose yet: Escape quits at once";
    EXPECT_FALSE(fs::exists("ships"));
    frameHoldingKey(scancode::S);
    Model saved;
    std::string problem;
    ASSERT_TRUE(readWholeModelFile(saved, "ships/New.mdata", problem)) << problem;
    EXPECT_EQ(saved.lines.size(), 3u);
    EXPECT_EQ(editor.notice, "");
}

// The model reader takes any text, so a file that is no model opens as zeros; a plain
// S must not put those over the user's notes. It says so, and only a second S within
// a few seconds replaces the file.
TEST_F(EditorStart, FileThatIsNoModel_IsReplacedOnlyWhenSIsPressedTwice)
{
    const std::string notes = "Shopping:\n- 3 eggs\n";
    std::ofstream(shipPath(), std::ios::binary) << notes;
    std::string message;
    ASSERT_EQ(startEditor(editor, message), 0) << message;
    started = true;
    EXPECT_EQ(editor.notice, "Ship.mdata is not a ship model: S asks before replacing it");
    runEditorFrame(editor);
    EXPECT_TRUE(messageLineShows(editor.notice));

    frameHoldingKey(scancode::S);
    EXPECT_EQ(fileBytes(shipPath()), notes);
    EXPECT_EQ(editor.notice, "Ship.mdata is not a ship model: S again replaces it");
    headless::advanceTime(kReplaceConfirmSeconds + 0.5);
    frameHoldingKey(scancode::S);
    EXPECT_EQ(fileBytes(shipPath()), notes) << "too late: this S asks again";
    headless::advanceTime(1.0);
    frameHoldingKey(scancode::S);
    EXPECT_NE(fileBytes(shipPath()), notes);
    EXPECT_TRUE(isModelText(shipPath()));
    EXPECT_FALSE(editor.foreignFile) << "now a model: the next S saves at once";
}

// What tells a model from other text: every line one number, and all of them there.
TEST(ModelText, IsAWholeCountAndOneNumberAlonePerLine)
{
    const ScratchFolder scratch("model_text_test");
    const struct {
        const char* text;
        bool model;
    } cases[] = {
        {"-1\r\n", true},
        {" 0\r\n 1\r\n-2\r\n 3.5\r\n 4e-3\r\n 5D2\r\n\t6 \r\n+7\r\n.8\r\n", true},
        {"0\n1\n2\n3\n4\n5\n6\n7\n8\n\n  \n", true}, // LF ends, blank lines after
        {"0\n1\n2\n3\n4\n5\n6\n7\n", false},          // a value short
        {"0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n", false},  // text after the last record
        {"0\n1\n2\n3\n4\n5\n6\n7\n8 cm\n", false},
        {"0.5\n1\n2\n3\n4\n5\n6\n7\n8\n", false},    // no whole count
        {"-2\n", false},
        {"root:x:0:0:root:/root:/bin/bash\n", false},
        {"", false},
    };
    for (const auto& example : cases) {
        std::ofstream("file", std::ios::binary) << example.text;
        EXPECT_EQ(isModelText("file"), example.model) << example.text;
    }
    EXPECT_FALSE(isModelText("missing"));
}

TEST_F(EditorStart, ModelThatOpensButCannotBeReadEndsInLoadWithoutLoadsOwnComplaint)
{
    fs::create_directory(shipPath()); // a folder opens, and fails at the first read
    std::string message;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(startEditor(editor, message), 2);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(message, "\nAborting due to runtime error 2 (file not found) in src/model::LOAD()\n\n");
}

TEST_F(EditorStart, NoWindowEndsWithIllegalFunctionCallInStartUp)
{
    writeShip(diamond());
    headless::failNextOpen("no display");
    std::string message;
    EXPECT_EQ(startEditor(editor, message), 1);
    // The line is that of the failing call, whatever it is today.
    const std::string head = "\nAborting due to runtime error 1 (illegal function call) at line ";
    const std::string tail = " of src/editor::startEditor()\n\n";
    ASSERT_GT(message.size(), head.size() + tail.size()) << message;
    EXPECT_EQ(message.substr(0, head.size()), head);
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail);
    const std::string line = message.substr(head.size(), message.size() - head.size() - tail.size());
    EXPECT_GT(std::atoi(line.c_str()), 0) << message;
    EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << message;
    EXPECT_EQ(DEPTH_BUFFER, nullptr);
}

TEST_F(EditorStart, MissingTextureLeavesAnEditorWithADarkPreview)
{
    fs::remove(fs::path("data") / "visual" / "ship2.png");
    ::testing::internal::CaptureStderr();
    start(diamond());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("ship2.png"), std::string::npos);
    editor.gridShown = false;
    EXPECT_TRUE(runEditorFrame(editor));
    for (int y = 9; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) ASSERT_EQ(screenPixel(x, y), 0xFF000000u) << x << "," << y;
    }
}
