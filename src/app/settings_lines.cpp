// Splitting settings text into lines, names and values, with where each value stands.
#include "app/settings_lines.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr const char* kBlank = " \t\r";
// Some editors start a UTF-8 file with a byte-order mark; it is no part of line 1.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(kBlank);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

std::vector<SettingsLine> settingsLines(const std::string& text)
{
    std::vector<SettingsLine> lines;
    for (size_t start = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        SettingsLine line;
        line.number = int(lines.size()) + 1;
        const std::string content = trimmed(text.substr(start, end - start));
        line.setting = !content.empty() && content.front() != '#';
        // searched within the line only: a long file without "=" would be scanned per line
        const size_t equals = std::string_view(text).substr(0, end).find('=', start);
        line.hasEquals = line.setting && equals != std::string_view::npos;
        if (line.hasEquals) {
            line.name = trimmed(text.substr(start, equals - start));
            line.value = trimmed(text.substr(equals + 1, end - equals - 1));
            line.afterEquals = equals + 1;
            line.valueStart = line.value.empty() ? line.afterEquals : text.find_first_not_of(kBlank, line.afterEquals);
            line.valueEnd = line.valueStart + line.value.size();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}
