// The result screen's rules. The run's demo moves into the folder of its entry, which
// names it, so that an entry and its demo are kept and pruned together; a demo the
// player recorded elsewhere (--record FILE) stays theirs, and a copy goes there.
#include "app/result_screen.h"

#include "app/demo_file.h"
#include "files/file_read.h"
#include "platform/file_replace.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr FileKind kDemoFile{"demo", kDemoLargestFile};

std::string fileNameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

ScoreEntry runAsEntry(const ResultScreen& screen)
{
    ScoreEntry entry;
    entry.day = screen.day;
    entry.score = screen.run.score;
    entry.level = screen.run.level;
    entry.finished = screen.finished;
    return entry;
}

// The folder's entries, and the tables over them.
std::vector<ScoreEntry> readTables(ResultScreen& screen)
{
    std::vector<ScoreEntry> entries = readScoreEntries(screen.tableFolder, screen.problems);
    screen.tables = bestTables(entries, screen.day);
    return entries;
}

bool madeByTheGame(const ResultScreen& screen, const std::string& demo)
{
    return !demo.empty() && demo == screen.challengeFolder + "/" + fileNameOf(demo);
}

// A copy of a demo recorded elsewhere, under its own name prefixed with the finishing
// time, so that it takes the place of no other run's demo.
bool copyDemo(const std::string& from, const std::string& to, std::string& error)
{
    if (!noFileAt(to)) {
        error = to + " exists already";
        return false;
    }
    FileBytes bytes;
    if (!readWholeFile(from, kDemoFile, bytes, error)) {
        error = from + ": " + error;
        return false;
    }
    return replaceFile(to, bytes.text(), error);
}

// The demo's name in the entry's folder, "" when it could not be brought there.
std::string bringDemoBeside(ResultScreen& screen)
{
    const std::string& from = screen.run.demoPath;
    if (from.empty()) return "";
    const bool made = madeByTheGame(screen, from);
    std::string name = fileNameOf(from);
    if (!made) {
        std::string stamp = screen.finished;
        stamp.erase(std::remove(stamp.begin(), stamp.end(), ':'), stamp.end()); // no colons in names
        name = stamp + "_" + name;
    }
    const std::string to = screen.entryFolder + "/" + name;
    std::string error;
    const bool brought = from == to || (made ? moveFile(from, to, error) : copyDemo(from, to, error));
    if (brought) return name;
    screen.problems.push_back("the demo is not kept with the run: " + error);
    return "";
}

// Only a real run of the day goes: a practice run or a shortened test run would be
// refused by any server, and the entry (and its demo) stays here whatever happens there.
void sendToLeaderboard(ResultScreen& screen, const ScoreEntry& entry)
{
    if (screen.leaderboard.empty() || screen.run.practice || screen.run.shortened) return;
    if (entry.demo.empty()) {
        screen.problems.push_back("not sent to the leaderboard: the run has no demo");
        return;
    }
    const std::string demo = screen.entryFolder + "/" + entry.demo;
    FileBytes bytes;
    std::string error;
    if (!readWholeFile(demo, kDemoFile, bytes, error)) {
        screen.problems.push_back("not sent to the leaderboard: " + demo + ": " + error);
        return;
    }
    screen.upload = startBoardUpload(screen.leaderboard, screen.leaderboardIsHome, entry.name, std::string(bytes.text()),
                                     REAL_SECONDS());
}

void enterRun(ResultScreen& screen, const std::string& name)
{
    std::string error;
    if (!keepPlayerName(screen.entryFolder, name, error)) screen.problems.push_back(error);
    ScoreEntry entry = runAsEntry(screen);
    entry.name = name;
    if (!makeFolders(screen.entryFolder, error)) {
        screen.problems.push_back("the run is not kept: " + error);
        return;
    }
    entry.demo = bringDemoBeside(screen);
    if (!writeScoreEntry(screen.entryFolder, entry, error)) {
        screen.problems.push_back("the run is not kept: " + error);
        return;
    }
    screen.enteredFile = entry.file;
    sendToLeaderboard(screen, entry);
    // Pruning takes only entries that are in no table, so the tables read stay as shown.
    pruneScoreEntries(screen.tableFolder, readTables(screen), screen.problems);
}

// The rows are the day's, then the all-time table's.
size_t rowCount(const ScoreTables& tables) { return tables.day.size() + tables.allTime.size(); }

const ScoreEntry& rowAt(const ScoreTables& tables, size_t row)
{
    return row < tables.day.size() ? tables.day[row] : tables.allTime[row - tables.day.size()];
}

// The run's own row once entered, else the first.
size_t rowOfEnteredRun(const ResultScreen& screen)
{
    if (screen.enteredFile.empty()) return 0;
    for (size_t row = 0; row < rowCount(screen.tables); ++row) {
        if (rowAt(screen.tables, row).file == screen.enteredFile) return row;
    }
    return 0;
}

} // namespace

ResultScreen openResultScreen(const ChallengeResult& run, const std::string& challengeFolder, std::time_t now)
{
    ResultScreen screen;
    screen.run = run;
    screen.day = formatChallengeDay(run.day);
    screen.finished = utcStamp(now);
    screen.challengeFolder = challengeFolder;
    screen.tableFolder = run.shortened ? shortenedRunFolder(challengeFolder) : challengeFolder;
    screen.entryFolder = challengeFolder.empty() ? "" : entryFolderFor(challengeFolder, run.practice, run.shortened);
    if (challengeFolder.empty()) screen.problems.push_back("no data folder to keep the tables in");
    const std::vector<ScoreEntry> entries = readTables(screen);
    if (!screen.entryFolder.empty() && entersTables(entries, runAsEntry(screen))) {
        screen.naming = offerName(lastPlayerName(screen.entryFolder));
    }
    return screen;
}

ResultChoice updateResultScreen(ResultScreen& screen, const ResultInput& input)
{
    if (screen.naming) {
        if (input.quit) return ResultChoice::quit;
        if (editName(*screen.naming, input.name)) {
            const std::string name = screen.naming->name;
            screen.naming.reset();
            enterRun(screen, name);
            screen.selected = rowOfEnteredRun(screen);
        }
        return ResultChoice::stay;
    }
    const size_t count = rowCount(screen.tables);
    if (count > 0 && input.rowStep != 0) {
        screen.selected = size_t((long(screen.selected) + input.rowStep + long(count)) % long(count));
    }
    if (input.watch && !selectedDemo(screen).empty()) return ResultChoice::watch;
    if (input.newRun) return ResultChoice::newRun;
    return input.quit ? ResultChoice::quit : ResultChoice::stay;
}

void closeResultScreen(ResultScreen& screen)
{
    screen.naming.reset();
    std::string error;
    const std::string& demo = screen.run.demoPath;
    if (screen.enteredFile.empty() && madeByTheGame(screen, demo) && !removeFile(demo, error)) {
        screen.problems.push_back(error);
    }
}

std::string selectedDemo(const ResultScreen& screen)
{
    if (screen.selected >= rowCount(screen.tables)) return "";
    const std::string& demo = rowAt(screen.tables, screen.selected).demo;
    return demo.empty() ? "" : screen.tableFolder + "/" + demo;
}
