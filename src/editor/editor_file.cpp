// Saving and reloading go through the model module's quiet readers and writers, so
// the user hears of a failure once, with the file and the reason, instead of also
// on stdout.
#include "editor/editor_file.h"

#include "editor/editor_keys.h"
#include "app/user_folders.h"

#include <cstdio>
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

} // namespace

// The copy keeps the model untouched when the write fails; on success the model is
// closed just like the copy was, and L reloads what was saved.
void saveModel(Editor& editor)
{
    Model closed = editor.model;
    SEAL(closed);
    if (std::string problem;
        !makeSaveFolder(editor.savePath, problem) || !writeModelFile(closed, editor.savePath, problem)) {
        reportFailure(editor, kSaveFailed + problem);
        return;
    }
    editor.model = std::move(closed);
    editor.modelPath = editor.savePath;
    markSaved(editor);
    editor.notice = editor.savedNotice;
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
}
