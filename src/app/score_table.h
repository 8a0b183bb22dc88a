// The daily challenge's local score tables: one small text file per finished run,
// kept beside the run's demo, from which the day's best ten and the best ten of all
// time are ranked. Each entry is written once under a name no other file has, so two
// games finishing at the same moment both keep theirs; nothing is rewritten in place.
// Ranking: the higher score first; on equal scores the run that finished earlier (it
// got there first), then the entry's file name, so the order is total and stable.
#pragma once

#include "app/user_folders.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

struct ScoreEntry {
    std::string name;
    std::string day; // the challenge's UTC day, "YYYY-MM-DD"
    int64_t score = 0;
    int level = 0;        // the level reached
    std::string finished; // UTC, "YYYY-MM-DDTHH:MM:SSZ": sorts as text in time order
    std::string demo;     // the demo's file name, in the entry's folder
    std::string file;     // the entry's own file name, once read or written
};

constexpr size_t kTableSize = 10;
constexpr size_t kLongestPlayerName = 16;

// 1 to 16 printable ASCII characters (space included, but not only spaces).
bool validPlayerName(std::string_view name);

// Where the tables live: "<user data>/challenge", empty when there is no data folder.
std::string challengeFolder(const Environment& environment);
// Runs with a shortened clock (a testing aid) keep tables of their own in here, so
// they are shown and can be checked but never mix with real results.
std::string shortenedRunFolder(const std::string& challengeFolder);
// Where a finished run's entry belongs: a practice run of an earlier day is entered
// nowhere (""), a run with a shortened clock among the shortened ones, the rest in
// the tables.
std::string entryFolderFor(const std::string& challengeFolder, bool practice, bool shortened);

// "YYYY-MM-DDTHH:MM:SSZ" for a time in seconds since the epoch.
std::string utcStamp(std::time_t seconds);
// Where the time of day, "HH:MM:SS", stands in such a stamp.
constexpr size_t kStampTimeStart = 11;
constexpr size_t kStampTimeLength = 8;

// Higher score first, then the earlier finish, then the file name.
bool ranksBefore(const ScoreEntry& a, const ScoreEntry& b);

struct ScoreTables {
    std::vector<ScoreEntry> day;     // the day's best, at most ten, best first
    std::vector<ScoreEntry> allTime; // likewise over every day
};
ScoreTables bestTables(std::vector<ScoreEntry> entries, const std::string& day);
// Whether a run with this score, finishing now, would be in either table.
bool entersTables(const std::vector<ScoreEntry>& entries, const ScoreEntry& run);

// Every entry in the folder (none when it does not exist yet). An entry that cannot
// be read is renamed to its name + ".unreadable" (kept for the player to look at)
// and named in warnings, which is how it is named once only.
std::vector<ScoreEntry> readScoreEntries(const std::string& folder, std::vector<std::string>& warnings);

// Writes the entry into the folder (made if missing) under a fresh name, which it
// sets in entry.file. False with the reason, naming the file or folder.
bool writeScoreEntry(const std::string& folder, ScoreEntry& entry, std::string& error);

// Removes each entry that is in neither table of its own day nor the all-time table,
// with its demo unless a kept entry names it too. What cannot be removed is named
// in warnings and tried again next time.
void pruneScoreEntries(const std::string& folder, const std::vector<ScoreEntry>& entries,
                       std::vector<std::string>& warnings);

// The name the player gave last ("" when none was kept or it is no longer valid),
// and keeping a new one, in a small file in the challenge folder.
std::string lastPlayerName(const std::string& folder);
bool keepPlayerName(const std::string& folder, const std::string& name, std::string& error);
