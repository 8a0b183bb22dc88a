// The editor's entry point: start, run frames until Escape, shut down.
#include "editor.h"

#include <cstdio>

int main()
{
    Editor editor;
    std::string error;
    if (!startEditor(editor, error)) {
        std::fprintf(stderr, "editor: %s\n", error.c_str());
        return 1;
    }
    while (runEditorFrame(editor)) {
    }
    endEditor(editor);
    return 0;
}
