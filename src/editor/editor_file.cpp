// Saving and reloading go through the model module's quiet readers and writers, so
// the user hears of a failure once, with its reason, instead of also on stdout.
#include "editor_file.h"

#include "editor_keys.h"

#include <cstdio>
#include <utility>

namespace {

const std::string kModelFolder = "data/model/";
const std::string kSaveFailed = "Could not save file!";
const std::string kLoadFailed = "Could not load file!";

// The model file's path, from the file name the editor was given.
std::string modelPath(const Editor& editor) { return kModelFolder + editor.fileName; }

void reportFailure(Editor& editor, const std::string& notice, const char* verb, const std::string& reason)
{
    editor.notice = notice;
    std::fprintf(stderr, "editor: could not %s the ship: %s\n", verb, reason.c_str());
    std::fflush(stderr);
}

} // namespace

// The copy keeps the model untouched when the write fails; on success the model is
// closed just like the copy was.
void saveModel(Editor& editor)
{
    Model closed = editor.model;
    SEAL(closed);
    if (std::string reason; !writeModelFile(closed, modelPath(editor), reason)) {
        reportFailure(editor, kSaveFailed, "save", reason);
        return;
    }
    editor.model = std::move(closed);
    markSaved(editor);
    editor.notice.clear();
}

// A failed read leaves the model as it was.
void reloadModel(Editor& editor)
{
    if (std::string reason; !readModelFile(editor.model, modelPath(editor), reason)) {
        reportFailure(editor, kLoadFailed, "load", reason);
        return;
    }
    keepSelectionInModel(editor);
    markSaved(editor);
    editor.notice.clear();
}
