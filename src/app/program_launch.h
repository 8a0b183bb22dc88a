// Everything both programs do before their own start-up: read the command line,
// answer --help and --version, refuse what they cannot use, and find the data folder.
// Each program describes itself in a ProgramText (its options table, keys, operands).
#pragma once

#include "app/command_line.h"
#include "app/data_folder.h"

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

inline constexpr OptionSpec kDataOption{"--data", "DIR", "read the pictures, sounds and shipped ship from DIR"};
inline constexpr OptionSpec kHelpOption{"--help", "", "show this help and exit"};
inline constexpr OptionSpec kVersionOption{"--version", "", "show the name and version and exit"};

struct ProgramText {
    std::string_view title;      // printed with the version: "Space Game 1.0.0"
    std::string_view summary;    // one line under the usage line
    std::string_view operands;   // the usage line's words after the options, "[FILE]"; empty for none
    size_t mostOperands = 0;
    std::span<const OptionSpec> options;
    std::string_view details;    // the help's sections after the options: keys, files
};

// Parses the arguments (those after the program's name). Answers --help and --version
// on out and returns 0, or 1 when out could not take the answer (said on err); writes
// a command line it cannot use, with the usage, on err and returns 2; returns nothing
// when the program should go on with parsed.
std::optional<int> answerCommandLine(const ProgramText& text, const std::string& program,
                                     std::span<const std::string> arguments, CommandLine& parsed,
                                     std::ostream& out, std::ostream& err);

struct Launch {
    std::string program; // the name the program was started by, for its messages
    CommandLine commandLine;
    Environment environment;
    DataFolder data;
};

// Flushes standard output. False, said on standard error with the reason, when what
// was written there did not all arrive (a full disk, a closed pipe): an answer that
// was lost must not end in success.
bool standardOutputWritten(const std::string& program);

// answerCommandLine on the real arguments and streams, then findDataFolder. Returns
// nothing once the data folder is found; else the exit status, 1 when no data folder
// can be used (said on standard error).
std::optional<int> launchProgram(const ProgramText& text, int argc, char** argv, Launch& launch);
