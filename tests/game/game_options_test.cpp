// The game's command line over the settings file: an option wins for one run, and a
// value out of range is refused with the option named.
#include "game/game_command_line.h"
#include "game/game_options.h"

#include "app/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

TEST(GameOptions, CommandLineWinsOverTheSettingsFileForOneRun)
{
    struct Case {
        std::vector<std::string> arguments;
        bool fullscreen;
        int volume;
        std::optional<double> seed;
        const char* problem; // null when the options are usable
    };
    const Case cases[] = {
        {{}, true, 80, std::nullopt, nullptr},
        {{"--windowed"}, false, 80, std::nullopt, nullptr},
        {{"--windowed", "--fullscreen"}, true, 80, std::nullopt, nullptr},
        {{"--volume", "30"}, true, 30, std::nullopt, nullptr},
        {{"--mute", "--volume=30"}, true, 0, std::nullopt, nullptr},
        {{"--seed", "9007199254740992"}, true, 80, 9007199254740992.0, nullptr},
        {{"--volume", "101"}, true, 80, std::nullopt, "--volume wants a whole number from 0 to 100, not '101'"},
        {{"--seed", "-3"}, true, 80, std::nullopt, "--seed wants a whole number from 0 to 2^53, not '-3'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        CommandLine line;
        std::string error;
        ASSERT_TRUE(parseCommandLine(kGameProgram.options, c.arguments, line, error)) << error;
        Settings settings = defaultSettings();
        std::vector<std::string> warnings;
        applySettingsText(settings, "fullscreen = on\nvolume = 80\n", "s.ini", warnings);
        std::optional<double> seed;
        EXPECT_EQ(applyGameOptions(line, settings, seed, error), c.problem == nullptr);
        if (c.problem) {
            EXPECT_EQ(error, c.problem);
        }
        EXPECT_EQ(settings.fullscreen, c.fullscreen);
        EXPECT_EQ(settings.volume, c.volume);
        EXPECT_EQ(seed, c.seed);
    }
}

TEST(GameOptions, ChallengeIsTodaysOrAnEarlierDaysAndNeverAFutureOne)
{
    constexpr std::time_t kNow = 1796774399; // 2026-12-08 23:59:59 UTC
    struct Case {
        std::vector<std::string> arguments;
        const char* day; // null: no challenge
        bool practice;
        const char* problem;
    };
    const Case cases[] = {
        {{}, nullptr, false, nullptr},
        {{"--challenge"}, "2026-12-08", false, nullptr},
        {{"--challenge", "2026-12-08"}, "2026-12-08", false, nullptr},
        {{"--challenge", "2026-12-01"}, "2026-12-01", true, nullptr},
        {{"--challenge", "2026-12-09"}, nullptr, false,
         "the challenge of 2026-12-09 is not open yet: today is 2026-12-08 (UTC)"},
        {{"--challenge", "2026-11-31"}, nullptr, false, "'2026-11-31' is not a day of the calendar"},
        {{"2026-12-01"}, nullptr, false, "a day ('2026-12-01') is read only after --challenge"},
        {{"--challenge", "--seed", "4"}, nullptr, false,
         "--seed cannot be used with --challenge: the day decides the field"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        CommandLine line;
        std::string error;
        ASSERT_TRUE(parseCommandLine(kGameProgram.options, c.arguments, line, error)) << error;
        std::optional<ChallengeChoice> choice;
        EXPECT_EQ(readChallengeChoice(line, kNow, choice, error), c.problem == nullptr);
        EXPECT_EQ(error, c.problem ? c.problem : "");
        EXPECT_EQ(choice ? formatChallengeDay(choice->day) : "", c.day ? c.day : "");
        EXPECT_EQ(choice && choice->practice, c.practice);
    }
}
