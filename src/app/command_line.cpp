// The table-driven parser of long options and the help lines made from the same table.
#include "app/command_line.h"

#include <algorithm>

namespace {

constexpr std::string_view kEndOfOptions = "--";

const OptionSpec* findOption(std::span<const OptionSpec> table, std::string_view name)
{
    const auto found = std::find_if(table.begin(), table.end(), [&](const OptionSpec& row) { return row.name == name; });
    return found == table.end() ? nullptr : &*found;
}

// "-x" and "--x" are options; a lone "-" is an operand, by the usual convention for
// standard input, and so is everything else.
bool looksLikeOption(std::string_view argument) { return argument.size() > 1 && argument.front() == '-'; }

// Appended piece by piece: g++ 12 warns falsely (-Wrestrict) about "'" + std::string.
std::string quoted(std::string_view text)
{
    std::string result(1, '\'');
    result += text;
    result += '\'';
    return result;
}

} // namespace

bool CommandLine::has(std::string_view name) const
{
    return std::any_of(options.begin(), options.end(), [&](const GivenOption& option) { return option.name == name; });
}

std::string CommandLine::value(std::string_view name) const
{
    const auto last = std::find_if(options.rbegin(), options.rend(),
                                   [&](const GivenOption& option) { return option.name == name; });
    return last == options.rend() ? std::string() : last->value;
}

bool parseCommandLine(std::span<const OptionSpec> table, std::span<const std::string> arguments,
                      CommandLine& parsed, std::string& error)
{
    parsed = CommandLine{};
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kEndOfOptions) {
            parsed.operands.insert(parsed.operands.end(), arguments.begin() + std::ptrdiff_t(i) + 1, arguments.end());
            break;
        }
        if (!looksLikeOption(argument)) {
            parsed.operands.push_back(argument);
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const OptionSpec* option = findOption(table, name);
        if (!option) {
            error = "unknown option " + quoted(name);
            return false;
        }
        GivenOption given{option->name, {}};
        if (option->valueName.empty()) {
            if (equals != std::string::npos) {
                error = "option " + quoted(name) + " takes no value";
                return false;
            }
        } else {
            if (equals != std::string::npos) {
                given.value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                given.value = arguments[++i];
            }
            // An empty value is as good as none: no option of ours has a use for one.
            if (given.value.empty()) {
                error = "option " + quoted(name) + " needs a value (" + std::string(option->valueName) + ")";
                return false;
            }
        }
        parsed.options.push_back(std::move(given));
    }
    return true;
}

std::string describeOptions(std::span<const OptionSpec> table)
{
    auto shownName = [](const OptionSpec& row) {
        std::string name(row.name);
        if (!row.valueName.empty()) name.append(" ").append(row.valueName);
        return name;
    };
    size_t width = 0;
    for (const OptionSpec& row : table) width = std::max(width, shownName(row).size());
    std::string text;
    for (const OptionSpec& row : table) {
        const std::string name = shownName(row);
        text += "  " + name + std::string(width - name.size() + 3, ' ') + std::string(row.help) + "\n";
    }
    return text;
}
