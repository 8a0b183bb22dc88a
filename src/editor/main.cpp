// The editor's entry point: start, run frames until Escape, shut down. A start-up
// that fails ends the program with the run-time error's message and number.
#include "editor.h"

#include <cstdio>

int main()
{
    Editor editor;
    std::string abortMessage;
    if (const int error = startEditor(editor, abortMessage); error != 0) {
        std::fputs(abortMessage.c_str(), stderr);
        return error;
    }
    while (runEditorFrame(editor)) {
    }
    endEditor(editor);
    return 0;
}
