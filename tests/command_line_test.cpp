// The shared option parser against a table of command lines, and the answers both
// programs give before they look for their data: help, version, usage errors.
#include "program_launch.h"

#include "build_info.h"

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
    const DataSearch search{{}, "/opt/sg/bin/prog", [](const std::string&) { return std::string(); }};
    const std::optional<int> status = answerCommandLine(kProgram, "prog", arguments, search, commandLine, out, err);
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

    CommandLine commandLine;
    std::string error;
    const std::vector<std::string> twice{"--volume", "3", "--volume", "7"};
    ASSERT_TRUE(parseCommandLine(kTable, twice, commandLine, error));
    EXPECT_EQ(commandLine.value("--volume"), "7") << "the last one given counts";
    EXPECT_EQ(commandLine.value("--data"), "");
    EXPECT_FALSE(commandLine.has("--data"));
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutputAndEndWithZero)
{
    const Answer help = answer({"ship.mdata", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: prog [OPTION]... [FILE]\nDoes nothing.\n", 0), 0u) << help.out;
    for (const char* part : {"  --data DIR   read the pictures", "  --version    show the name", "  --volume N   loudness\n", "Keys:\n  Q   quit\n",
                             "  1. the folder given with --data DIR\n", "  2. the folder named by $SPACE_GAME_DATA\n",
                             "  3. ./data, when it holds the game's files\n",
                             "  4. /opt/sg/share/space-game/data (installed with the program)\n"}) {
        EXPECT_NE(help.out.find(part), std::string::npos) << part << " not in:\n" << help.out;
    }

    const Answer version = answer({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Test Program " + std::string(kProductVersion) + "\n");
}

TEST(CommandLine, WhatCannotBeUsedEndsWithTwoAndTheUsageOnStandardError)
{
    for (const auto& [words, problem] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--bogus"}, "prog: unknown option '--bogus'\n"},
             {{"a.mdata", "b.mdata"}, "prog: unexpected argument 'b.mdata'\n"},
         }) {
        const Answer refused = answer(words);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err.rfind(problem + "Usage: prog [OPTION]... [FILE]\n", 0), 0u) << refused.err;
        EXPECT_NE(refused.err.find("--volume N"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(answer({"--data", "/d", "ship.mdata"}).status, std::nullopt) << "a usable command line goes on";
}
