// The challenge's score tables as files in a scratch folder: ranking, the unreadable
// entry, two writers at once, pruning with the demos, and which runs are entered.
#include "support/scratch_folder.h"
#include "app/score_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

ScoreEntry run(const std::string& name, int64_t score, const std::string& finished, const std::string& day = "2026-12-08")
{
    return {.name = name, .day = day, .score = score, .level = 2, .finished = finished, .demo = name + ".demo", .file = ""};
}

std::vector<std::string> names(const std::vector<ScoreEntry>& table)
{
    std::vector<std::string> result;
    for (const ScoreEntry& entry : table) result.push_back(entry.name);
    return result;
}

void writeEntryWithDemo(const std::string& folder, ScoreEntry entry)
{
    std::string error;
    ASSERT_TRUE(writeScoreEntry(folder, entry, error)) << error;
    std::ofstream(folder + "/" + entry.demo) << "demo";
}

} // namespace

TEST(ScoreTable, RanksKeepsWritersApartSetsAsideUnreadableAndPrunesWithDemos)
{
    ScratchFolder scratch("score_table");
    const std::string folder = (scratch.path() / "challenge").string();
    std::vector<std::string> warnings;

    // Ordering by score, a tie going to the earlier finish; two writers in the same second both kept.
    writeEntryWithDemo(folder, run("late", 500, "2026-12-08T10:00:00Z"));
    writeEntryWithDemo(folder, run("early", 500, "2026-12-08T09:00:00Z"));
    writeEntryWithDemo(folder, run("best", 900, "2026-12-08T11:00:00Z"));
    writeEntryWithDemo(folder, run("twin1", 100, "2026-12-08T12:00:00Z"));
    writeEntryWithDemo(folder, run("twin2", 100, "2026-12-08T12:00:00Z"));
    writeEntryWithDemo(folder, run("other day", 700, "2026-12-07T08:00:00Z", "2026-12-07"));
    std::vector<ScoreEntry> entries = readScoreEntries(folder, warnings);
    EXPECT_TRUE(warnings.empty());
    ScoreTables tables = bestTables(entries, "2026-12-08");
    const std::vector<std::string> allTime = names(tables.allTime);
    ASSERT_EQ(allTime.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(allTime.begin(), allTime.begin() + 4),
              (std::vector<std::string>{"best", "other day", "early", "late"}));
    EXPECT_EQ(names(tables.day).size(), 5u);
    EXPECT_EQ(tables.day.front().name, "best");

    // An unreadable entry is named once and set aside, never deleted.
    std::ofstream(folder + "/2026-12-08_000000_broken.score") << "space-game challenge score 1\nname=\nscore=x\n";
    EXPECT_EQ(readScoreEntries(folder, warnings).size(), 6u);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("2026-12-08_000000_broken.score: no valid name; set aside"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder + "/2026-12-08_000000_broken.score.unreadable"));
    readScoreEntries(folder, warnings);
    EXPECT_EQ(warnings.size(), 1u);

    // Ten better runs of a later day push the small ones out of the all-time table; those
    // still in their own day's table stay, the rest go with their demos.
    for (int i = 0; i < 10; ++i) writeEntryWithDemo(folder, run("new" + std::to_string(i), 1000 + i, "2026-12-09T10:00:00Z", "2026-12-09"));
    for (int i = 0; i < 9; ++i) writeEntryWithDemo(folder, run("low" + std::to_string(i), 1, "2026-12-08T13:0" + std::to_string(i) + ":00Z"));
    entries = readScoreEntries(folder, warnings);
    EXPECT_FALSE(entersTables(entries, run("too low", 1, "2026-12-08T14:00:00Z")));
    EXPECT_TRUE(entersTables(entries, run("fresh day", 1, "2026-12-10T14:00:00Z", "2026-12-10")));
    pruneScoreEntries(folder, entries, warnings);
    EXPECT_EQ(warnings.size(), 1u);
    entries = readScoreEntries(folder, warnings);
    EXPECT_EQ(entries.size(), 21u); // ten of 12-09, ten of 12-08, one of 12-07
    EXPECT_TRUE(fs::exists(folder + "/best.demo")); // out of all time, still the day's best
    EXPECT_TRUE(fs::exists(folder + "/low4.demo"));
    EXPECT_FALSE(fs::exists(folder + "/low5.demo"));
    EXPECT_TRUE(fs::exists(folder + "/other day.demo"));
}

TEST(ScoreTable, OnlyRealRunsEnterAndNamesArePrintableAsciiUpToSixteen)
{
    EXPECT_EQ(entryFolderFor("/c", false, false), "/c");
    EXPECT_EQ(entryFolderFor("/c", true, false), "");
    EXPECT_EQ(entryFolderFor("/c", false, true), shortenedRunFolder("/c"));
    EXPECT_EQ(entryFolderFor("/c", true, true), shortenedRunFolder("/c"));
    EXPECT_NE(shortenedRunFolder("/c"), "/c");

    const std::pair<std::string, bool> cases[] = {
        {"A", true}, {"Ada Lovelace", true}, {"0123456789abcdef", true}, {"~!@#$%^&*()_+-=", true},
        {"", false}, {"   ", false}, {"0123456789abcdefg", false}, {"tab\there", false}, {"caf\xc3\xa9", false},
    };
    for (const auto& [name, valid] : cases) EXPECT_EQ(validPlayerName(name), valid) << name;

    ScratchFolder scratch("player_name");
    std::string error;
    EXPECT_EQ(lastPlayerName(scratch.path().string()), "");
    ASSERT_TRUE(keepPlayerName(scratch.path().string(), "Ada", error)) << error;
    EXPECT_EQ(lastPlayerName(scratch.path().string()), "Ada");
}
