// Builds the run-time error message: "\nAborting due to runtime error N (name)",
// then " at line L" when the line is known, then " of|in module::procedure()" and a
// blank line. Only the errors the editor can raise have names here.
#include "editor/runtime_error.h"

#include <array>
#include <string_view>

namespace {

// Names exist for numbers below this; the editor raises only the ones listed.
constexpr int kNamedErrorLimit = 18;

struct ErrorName {
    int number;
    std::string_view name;
};

constexpr std::array kErrorNames{
    ErrorName{kErrorIllegalFunctionCall, "illegal function call"},
    ErrorName{kErrorFileNotFound, "file not found"},
    ErrorName{kErrorOutOfMemory, "out of memory"},
};

std::string_view errorName(int number)
{
    if (number >= kNamedErrorLimit) return {};
    for (const ErrorName& entry : kErrorNames) {
        if (entry.number == number) return entry.name;
    }
    return {};
}

} // namespace

std::string runtimeErrorMessage(int number, int line, const std::string& module, const std::string& procedure)
{
    std::string message = "\nAborting due to runtime error " + std::to_string(number);
    const std::string_view name = errorName(number);
    if (!name.empty()) message += " (" + std::string(name) + ")";
    if (line > 0) message += " at line " + std::to_string(line);
    if (module.empty()) return message + "\n\n";
    message += line > 0 ? " of " : " in ";
    return message + module + "::" + procedure + "()\n\n";
}
