// Start-up, frame and shut-down of the ship editor. A frame reads the mouse, runs the
// command keys, closes the outline after a frame with the left button down, draws the
// grid or the preview between the status and message lines and shows it whole; a
// drag's undo step ends once its button is up; Escape is read last. While a command's
// key is still held, a frame only waits for it to go up.
#include "editor/editor.h"

#include "app/help_screen.h"
#include "editor/editor_file.h"
#include "editor/editor_grid.h"
#include "editor/editor_help.h"
#include "editor/editor_keys.h"
#include "editor/editor_quit.h"
#include "editor/editor_view.h"
#include "editor/outline_edits.h"
#include "png/png.h"
#include "platform/platform.h"
#include "editor/runtime_error.h"
#include "render/triangles.h"
#include "space/world_size.h"

#include <cstdio>
#include <filesystem>

namespace {

constexpr int kScreenDepth = 32;
constexpr int kScreenPages = 1;
constexpr int kNoFlags = 0;
constexpr int kDefaultRefreshRate = 0;
constexpr int kFrameSleepMs = 3;
const std::string kTextureInFolder = "/visual/ship2.png";
const std::string kEditorModule = "src/editor";
const std::string kModelModule = "src/model";

int abortStartUp(Editor& editor, int number, int line, const std::string& module, const char* procedure,
                 std::string& abortMessage)
{
    abortMessage = runtimeErrorMessage(number, line, module, procedure);
    endEditor(editor);
    return number;
}

// Pointer and buttons of this frame. Off the window the platform gives -1 for every
// output; those are no buttons at all, not every button.
int readMouse(Editor& editor)
{
    int x, y, wheel, buttons, clip;
    MOUSE_GET(x, y, wheel, buttons, clip);
    editor.pointer = {static_cast<float>(x), static_cast<float>(y)};
    return buttons < 0 ? 0 : buttons;
}

// Runs after the keys: a frame whose left button was down leaves the outline open
// (only an end moved), so it is closed here, one frame late, before anything draws.
void takeButtons(Editor& editor, int buttons)
{
    editor.previousLeft = editor.left;
    if (editor.previousLeft) SEAL(editor.model);
    editor.left = (buttons & MOUSE_LEFT) != 0;
    editor.right = (buttons & MOUSE_RIGHT) != 0;
}

} // namespace

int startEditor(Editor& editor, std::string& abortMessage)
{
    showTitle(editor);
    // A failure reports the line of its call. __LINE__ is read on that same line, so
    // unlike an offset such as __LINE__ - 1 it stays right when the code is rewrapped.
    if (const int callLine = __LINE__; SCREEN_OPEN(SCREEN_WIDTH, SCREEN_HEIGHT, kScreenDepth, kScreenPages, kNoFlags,
                                                   kDefaultRefreshRate) != 0) {
        return abortStartUp(editor, kErrorIllegalFunctionCall, callLine, kEditorModule, __func__, abortMessage);
    }
    WORLD_W = SCREEN_WIDTH;
    WORLD_H = SCREEN_HEIGHT;
    if (const int callLine = __LINE__; !allocateDepthBuffer(WORLD_W, WORLD_H)) {
        return abortStartUp(editor, kErrorOutOfMemory, callLine, kEditorModule, __func__, abortMessage);
    }
    const std::string texturePath = editor.dataFolder + kTextureInFolder;
    editor.texture = PNG_LOAD(texturePath, kPngImage);
    if (!editor.texture) {
        std::fprintf(stderr, "editor: %s could not be loaded; the preview stays dark\n", texturePath.c_str());
    }
    // Read once, quietly: a model that cannot be read ends the editor inside LOAD with
    // "file not found", never with LOAD's own "Could not load file!" (a folder in the
    // file's place opens, and fails only at the first read). A new file named by the
    // user is no failure: text editors start it empty and make it on the first save.
    std::string ignoredProblem;
    if (editor.fileNamed && !std::filesystem::exists(editor.modelPath)) {
        insertVertex(editor.model, 0);
        editor.notice = "New file: S creates " + editor.fileName;
    } else if (!readModelFile(editor.model, editor.modelPath, ignoredProblem)) {
        return abortStartUp(editor, kErrorFileNotFound, 0, kModelModule, "LOAD", abortMessage);
    }
    noteForeignFile(editor);
    startHistory(editor);
    return 0;
}

bool runEditorFrame(Editor& editor)
{
    if (awaitingKeyRelease(editor)) return true;
    const int buttons = readMouse(editor);
    handleEditorKeys(editor);
    followSave(editor);
    takeButtons(editor, buttons);

    clearDepthBuffer();
    SCREEN_LOCK();
    SCREEN_CLEAR();
    if (editor.gridShown) {
        drawGrid(editor, editor.helpShown ? std::nullopt : applyMouseToGrid(editor));
    } else {
        drawPreview(editor);
    }
    if (!editor.left) recordStep(editor);
    drawStatusLine(editor);
    drawMessageLine(editor);
    if (editor.helpShown) drawHelp(editorHelpLines());
    showTitle(editor);
    WAIT_VSYNC();
    SCREEN_UNLOCK(-1, -1);
    SLEEP_MS(kFrameSleepMs);
    return escapeClosesHelp(editor) || !escapeEndsEditor(editor);
}

void endEditor(Editor& editor)
{
    PNG_FREE(editor.texture);
    editor.texture = nullptr;
    freeDepthBuffer();
    editor.model = Model{};
    SCREEN_CLOSE();
}
