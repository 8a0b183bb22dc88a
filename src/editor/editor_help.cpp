// The help shown in the window is the --help table line for line.
#include "editor/editor_help.h"

std::vector<std::string> editorHelpLines()
{
    std::vector<std::string> lines = {"KEYS AND BUTTONS", ""};
    for (size_t start = 0; start < kEditorKeys.size();) {
        const size_t end = kEditorKeys.find('\n', start);
        lines.emplace_back(kEditorKeys.substr(start, end - start));
        start = end == std::string_view::npos ? kEditorKeys.size() : end + 1;
    }
    lines.push_back("");
    lines.push_back("F1 or Escape closes this");
    return lines;
}
