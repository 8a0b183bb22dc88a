// The help shown in the window is the --help table line for line, without the
// indent that sets it apart in the help text.
#include "editor/editor_help.h"

namespace {

constexpr std::string_view kIndent = "  ";

} // namespace

std::vector<std::string> editorHelpLines()
{
    std::vector<std::string> lines = {"KEYS AND BUTTONS", ""};
    // Every row starts with the indent and ends with a newline.
    for (size_t start = 0; start < kEditorKeys.size();) {
        const size_t end = kEditorKeys.find('\n', start);
        lines.emplace_back(kEditorKeys.substr(start + kIndent.size(), end - start - kIndent.size()));
        start = end == std::string_view::npos ? kEditorKeys.size() : end + 1;
    }
    lines.push_back("");
    lines.push_back("F1 or Escape closes this");
    return lines;
}
