// Saving and reloading go through the model module's quiet readers and writers, so
// the user hears of a failure once, with the file and the reason, instead of also
// on stdout.
#include "editor/editor_file.h"

#include "editor/editor_keys.h"
#include "app/user_folders.h"
#include "platform/file_replace.h"
#include "platform/platform.h"

#include <cstdio>
#include <filesystem>
#include <utility>

namespace {

const std::string kSaveFailed = "Could not save file! ";
const std::string kLoadFailed = "Could not load file! ";

void reportFailure(Editor& editor, const std::string& message)
{
    editor.notice = message;
    std::fprintf(stderr, "editor: %s\n", message.c_str());
    std::fflush(stderr);
}

// The user's own copy may be the first file in its folder: the folder is made then.
bool makeSaveFolder(const std::string& savePath, std::string& problem)
{
    if (savePath.empty()) {
        problem = "no folder of yours to save in (HOME is not set)";
        return false;
    }
    const size_t slash = savePath.find_last_of('/');
    return slash == std::string::npos || slash == 0 || makeFolders(savePath.substr(0, slash), problem);
}

// A file that is no ship model (notes, a configuration file opened by mistake) is
// replaced only when the user asks twice: the first S says what would be lost.
bool replacingConfirmed(Editor& editor)
{
    if (!editor.foreignFile) return true;
    const double now = TIMER_SECONDS();
    if (editor.replaceAskedAt != kNotAsked && now - editor.replaceAskedAt <= kReplaceConfirmSeconds) return true;
    editor.replaceAskedAt = now;
    editor.notice = editor.fileName + " is not a ship model: S again replaces it";
    return false;
}

} // namespace

void noteForeignFile(Editor& editor)
{
    // A file not made yet, or an empty one, holds nothing to lose.
    std::error_code missing;
    const uintmax_t size = std::filesystem::file_size(editor.modelPath, missing);
    editor.foreignFile = editor.savePath == editor.modelPath && !missing && size > 0 && !isModelText(editor.modelPath);
    editor.replaceAskedAt = kNotAsked;
    if (editor.foreignFile) editor.notice = editor.fileName + " is not a ship model: S asks before replacing it";
}

// The copy keeps the model untouched when the write fails; on success the model is
// closed just like the copy was, and L reloads what was saved.
void saveModel(Editor& editor)
{
    if (!replacingConfirmed(editor)) return;
    Model closed = editor.model;
    SEAL(closed);
    if (std::string problem;
        !makeSaveFolder(editor.savePath, problem) || !writeModelFile(closed, editor.savePath, problem)) {
        reportFailure(editor, kSaveFailed + problem);
        return;
    }
    editor.model = std::move(closed);
    editor.modelPath = editor.savePath;
    editor.foreignFile = false;
    editor.keeping = editor.model.lines;
    followSave(editor);
}

void followSave(Editor& editor)
{
    if (!editor.keeping) return;
    std::string problem;
    switch (savedFileKept(editor.savePath, problem)) {
    case FileKept::pending:
        editor.notice = "Saving " + editor.fileName + "...";
        return;
    case FileKept::yes:
        editor.savedLines = *editor.keeping;
        editor.notice = editor.savedNotice;
        break;
    case FileKept::failed:
        reportFailure(editor, editor.fileName + " not saved: " + problem);
        break;
    }
    editor.keeping.reset();
}

// A failed read leaves the model as it was.
void reloadModel(Editor& editor)
{
    if (std::string problem; !readModelFile(editor.model, editor.modelPath, problem)) {
        reportFailure(editor, kLoadFailed + editor.modelPath + ": " + problem);
        return;
    }
    keepSelectionInModel(editor);
    markSaved(editor);
    editor.notice.clear();
    noteForeignFile(editor);
}
