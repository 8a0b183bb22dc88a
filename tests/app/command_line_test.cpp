// The shared option parser against a table of command lines, and the answers both
// programs give before they look for their data: help, version, usage errors.
#include "app/program_launch.h"

#include "app/build_info.h"
#include "app/window_icon.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr OptionSpec kTable[] = {kDataOption, kHelpOption, kVersionOption, {"--volume", "N", "loudness"}};

const ProgramText kProgram{
    .title = "Test Program",
    .summary = "Does nothing.",
    .operands = "[FILE]",
    .mostOperands = 1,
    .options = kTable,
    .details = "Keys:\n  Q   quit\n",
};

// A parse as text: "option=value" words, then "| operands", or "error: ...".
std::string parsed(const std::vector<std::string>& arguments)
{
    CommandLine commandLine;
    std::string error;
    if (!parseCommandLine(kTable, arguments, commandLine, error)) return "error: " + error;
    std::string text;
    for (const GivenOption& option : commandLine.options) text += std::string(option.name) + "=" + option.value + " ";
    text += "|";
    for (const std::string& operand : commandLine.operands) text += " " + operand;
    return text;
}

struct Answer {
    std::optional<int> status;
    std::string out, err;
};

Answer answer(const std::vector<std::string>& arguments)
{
    CommandLine commandLine;
    std::ostringstream out, err;
    const std::optional<int> status = answerCommandLine(kProgram, "prog", arguments, commandLine, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(CommandLine, ParsesEveryFormAndRefusesWhatItCannotUse)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "|"},
        {{"--data", "/d", "ship.mdata"}, "--data=/d | ship.mdata"},
        {{"--data=/d"}, "--data=/d |"},
        {{"--data=a=b"}, "--data=a=b |"},
        {{"--data", "-odd"}, "--data=-odd |"},
        {{"--volume", "3", "--volume", "7", "--help"}, "--volume=3 --volume=7 --help= |"},
        {{"-", "x"}, "| - x"},
        {{"--", "--help", "-x"}, "| --help -x"},
        {{"--bogus"}, "error: unknown option '--bogus'"},
        {{"-h"}, "error: unknown option '-h'"},
        {{"--dat", "/d"}, "error: unknown option '--dat'"},
        {{"--help=yes"}, "error: option '--help' takes no value"},
        {{"--data"}, "error: option '--data' needs a value (DIR)"},
        {{"--data="}, "error: option '--data' needs a value (DIR)"},
    };
    for (const auto& [words, expected] : cases) EXPECT_EQ(parsed(words), expected);

    CommandLine twice;
    std::string error;
    ASSERT_TRUE(parseCommandLine(kTable, std::vector<std::string>{"--volume", "3", "--volume", "7"}, twice, error));
    EXPECT_EQ(twice.value("--volume"), "7") << "the last one given counts";
    EXPECT_EQ(twice.value("--data"), "");
}

TEST(CommandLine, AnswersHelpAndVersionWithZeroAndWhatCannotBeUsedWithTwo)
{
    // What starts standard output or standard error, and the status.
    auto expectAnswer = [](const std::vector<std::string>& words, std::optional<int> status, const std::string& out,
                           const std::string& err) {
        const Answer given = answer(words);
        EXPECT_EQ(given.status, status) << words.front();
        EXPECT_EQ(given.out.substr(0, out.size()), out) << given.out;
        EXPECT_EQ(given.err.substr(0, err.size()), err) << given.err;
        EXPECT_EQ(given.out.empty(), out.empty());
        EXPECT_EQ(given.err.empty(), err.empty());
    };
    const std::string usage = "Usage: prog [OPTION]... [FILE]\n";
    expectAnswer({"ship.mdata", "--help"}, 0, usage + "Does nothing.\n\nOptions:\n  --data DIR   read the", "");
    expectAnswer({"--version"}, 0, "Test Program " + std::string(kProductVersion) + "\n", "");
    expectAnswer({"--bogus", "--help"}, 2, "", "prog: unknown option '--bogus'\n" + usage + "  --data DIR");
    expectAnswer({"a.mdata", "b.mdata"}, 2, "", "prog: unexpected argument 'b.mdata'\n" + usage);
    expectAnswer({"--data", "/d", "ship.mdata"}, std::nullopt, "", "");

    // Help or version that cannot be written (standard output on a full disk) is no
    // success: status 1, and the failure said on standard error.
    for (const char* option : {"--help", "--version"}) {
        CommandLine commandLine;
        std::ostream full(nullptr);
        std::ostringstream err;
        EXPECT_EQ(answerCommandLine(kProgram, "prog", std::vector<std::string>{option}, commandLine, full, err), 1)
            << option;
        EXPECT_EQ(err.str().rfind("prog: cannot write to standard output: ", 0), 0u) << err.str();
    }

    const std::string help = answer({"--help"}).out;
    for (const char* part : {"  --volume N   loudness\n\nKeys:\n  Q   quit\n",
                             "The data folder is the first of:\n"
                             "  --data DIR                given on the command line\n"
                             "  $SPACE_GAME_DATA          named by this variable\n"
                             "  ./data                    in the working folder, when it holds the game's files\n"
                             "  ../share/space-game/data  from the program's folder, where it is installed\n"
                             "  data/ in the source tree  for a program run from its build folder\n"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part << " not in:\n" << help;
    }
}

TEST(WindowIcon, EveryWindowOpenedGetsThe64PixelDesktopIcon)
{
    headless::reset();
    showWindowIcon(); // before the window, as the programs do
    for (int window = 0; window < 2; ++window) {
        ASSERT_EQ(SCREEN_OPEN(640, 480, 32, 1, 0, 0), 0);
        EXPECT_EQ(headless::windowIconSize(), std::make_pair(64, 64));
        SCREEN_CLOSE();
    }
    headless::reset();
}
