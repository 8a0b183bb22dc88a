// The programs' command lines: long options only, each one row of a table that says
// its name, whether it takes a value and its help text, so adding an option is adding
// a row (and its handling). "--name value" and "--name=value" both work, "--" ends
// the options, and anything else that does not start with "--" is an operand.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct OptionSpec {
    std::string_view name;      // with its dashes: "--data"
    std::string_view valueName; // shown in the help, "DIR"; empty for an option that takes no value
    std::string_view help;      // one line
};

struct GivenOption {
    std::string_view name; // the table's own name
    std::string value;     // empty for an option that takes none
};

struct CommandLine {
    std::vector<GivenOption> options; // in the order given
    std::vector<std::string> operands;

    bool has(std::string_view name) const;
    // The value given last for the option (never empty); empty when it was not given.
    std::string value(std::string_view name) const;
};

// Reads the arguments after the program's name against the table. On false, error
// says what is wrong with which argument, in words for the user.
bool parseCommandLine(std::span<const OptionSpec> table, std::span<const std::string> arguments,
                      CommandLine& parsed, std::string& error);

// The table as help lines: "  --data DIR   help", the help texts in one column.
std::string describeOptions(std::span<const OptionSpec> table);
