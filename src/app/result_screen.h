// What the daily challenge shows when its time is up: the score and level reached and
// the local tables, first asking for a name when the run made either table; then the
// player chooses an entry to watch, a new run or to quit. The state and its rules are
// here; reading the platform's input and drawing are kept apart (result_view.h).
#pragma once

#include "app/board_upload.h"
#include "app/challenge_day.h"
#include "app/name_entry.h"
#include "app/score_table.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

struct ResultScreen {
    ChallengeResult run;
    std::string day;             // the run's, as the tables name days
    std::string finished;        // utcStamp of when time was up
    std::string challengeFolder; // where the game keeps the runs' demos
    std::string tableFolder;     // the tables shown
    std::string entryFolder;     // where the run is entered; "" when it is not
    ScoreTables tables;
    std::optional<NameEntry> naming; // while the name is asked
    std::string enteredFile;         // the run's entry once written
    size_t selected = 0;             // over the day's rows, then the all-time rows
    std::vector<std::string> problems; // for the player: set-aside entries, a failed save
    std::string leaderboard;           // where an entered run goes; "" keeps it here
    bool leaderboardIsHome = false;    // the page's own server, which may have no API
    std::optional<BoardUpload> upload; // the entered run on its way to the leaderboard
};

// What a frame brought, decided by readResultInput from keys by position and controllers.
struct ResultInput {
    NameInput name;
    int rowStep = 0; // Up (-1), Down (+1)
    bool watch = false, newRun = false, quit = false;
};

enum class ResultChoice { stay, watch, newRun, quit };

ResultScreen openResultScreen(const ChallengeResult& run, const std::string& challengeFolder, std::time_t now);
// Applies one frame's input: edits and, once confirmed, enters the name (writing the
// entry, keeping the name for next time, pruning what left the tables, and sending a
// real run of the day to the leaderboard), or moves the selection; what the player
// chose otherwise.
ResultChoice updateResultScreen(ResultScreen& screen, const ResultInput& input);
// Leaving the screen: the demo of a run that was not entered is removed when the game
// made it in the challenge folder, where only entries name demos; one recorded where
// the player asked (--record FILE) stays theirs.
void closeResultScreen(ResultScreen& screen);
// The demo of the selected entry, "" when there is none.
std::string selectedDemo(const ResultScreen& screen);
