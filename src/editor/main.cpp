// The editor's entry point: read the command line and find the data, then start, run
// frames until Escape (as the platform runs them: RUN_FRAMES), and shut down. A
// start-up that fails ends the program with the run-time error's message and number.
#include "editor/editor.h"
#include "editor/editor_command_line.h"
#include "platform/platform.h"

#include <cstdio>

int main(int argc, char** argv)
{
    Launch launch;
    if (const std::optional<int> status = launchProgram(kEditorProgram, argc, argv, launch)) return *status;
    Editor editor;
    chooseEditorFiles(editor, launch);
    std::string abortMessage;
    if (const int error = startEditor(editor, abortMessage); error != 0) {
        std::fputs(abortMessage.c_str(), stderr);
        return error;
    }
    return RUN_FRAMES([&] { return runEditorFrame(editor); }, [&] {
        endEditor(editor);
        return 0;
    });
}
