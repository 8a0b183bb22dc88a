// The command-line answers both programs share and the way to their data folder.
#include "app/program_launch.h"

#include "app/build_info.h"
#include "app/window_icon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

namespace {

std::string usageLine(const ProgramText& text, const std::string& program)
{
    std::string line = "Usage: " + program + " [OPTION]...";
    if (!text.operands.empty()) line.append(" ").append(text.operands);
    return line + "\n";
}

std::string helpText(const ProgramText& text, const std::string& program)
{
    return usageLine(text, program) + std::string(text.summary) + "\n\nOptions:\n" + describeOptions(text.options) +
           "\n" + std::string(text.details) + "\nThe data folder is the first of:\n" + describeDataSearch();
}

int refuse(const ProgramText& text, const std::string& program, const std::string& problem, std::ostream& err)
{
    err << program << ": " << problem << "\n" << usageLine(text, program) << describeOptions(text.options);
    return 2;
}

// The answer, flushed: 0 when it all arrived, else 1 with the failure on err.
int answer(const std::string& program, const std::string& text, std::ostream& out, std::ostream& err)
{
    if (out << text << std::flush) return 0;
    err << program << ": cannot write to standard output: " << std::strerror(errno ? errno : EIO) << "\n";
    return 1;
}

// The name as typed, without its folder: "space-game", or "game" in a build folder.
std::string nameOfProgram(const char* typed)
{
    const std::string name = typed ? std::filesystem::path(typed).filename().string() : std::string();
    return name.empty() ? "space-game" : name;
}

} // namespace

std::optional<int> answerCommandLine(const ProgramText& text, const std::string& program,
                                     std::span<const std::string> arguments, CommandLine& parsed,
                                     std::ostream& out, std::ostream& err)
{
    std::string problem;
    if (!parseCommandLine(text.options, arguments, parsed, problem)) return refuse(text, program, problem, err);
    if (parsed.has(kHelpOption.name)) return answer(program, helpText(text, program), out, err);
    if (parsed.has(kVersionOption.name)) {
        return answer(program, std::string(text.title) + " " + std::string(kProductVersion) + "\n", out, err);
    }
    if (parsed.operands.size() > text.mostOperands) {
        return refuse(text, program, "unexpected argument '" + parsed.operands[text.mostOperands] + "'", err);
    }
    return std::nullopt;
}

bool standardOutputWritten(const std::string& program)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    std::fprintf(stderr, "%s: cannot write to standard output: %s\n", program.c_str(), std::strerror(errno ? errno : EIO));
    return false;
}

std::optional<int> launchProgram(const ProgramText& text, int argc, char** argv, Launch& launch)
{
    launch.program = nameOfProgram(argc > 0 ? argv[0] : nullptr);
    launch.environment = processEnvironment();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const std::optional<int> status =
            answerCommandLine(text, launch.program, arguments, launch.commandLine, std::cout, std::cerr)) {
        return status;
    }
    showWindowIcon();
    const DataSearch search{launch.commandLine.value(kDataOption.name), executablePath(), launch.environment};
    std::string error;
    if (!findDataFolder(search, launch.data, error)) {
        std::cerr << launch.program << ": " << error << "\n";
        return 1;
    }
    return std::nullopt;
}
