// A challenge as the game program plays it, turn by turn: fixed steps with a countdown
// in the top-right corner, Escape asking once more before it abandons the run, and at
// time up the recording finished and the result handed to the result screen.
#pragma once

#include "app/challenge_day.h"
#include "app/screen_notice.h"
#include "game/game.h"
#include "app/play_session.h"
#include "game/result_turns.h"

#include <vector>

struct Image;

struct ChallengeRun {
    ChallengeResult result; // the day, practice, shortened and the demo's path, from the start
    Image* countdown = nullptr;
    int countdownShows = -1; // the seconds drawn into it
    bool escapeHeld = false;
    bool askingToAbandon = false;
    std::vector<int> pausedVoices; // while asking
    std::string challengeFolder; // the tables'
    bool timeUp = false;
    ResultTurns resultTurns;
    bool newRunAsked = false; // the result screen was left for a new run
};

// One turn; false when the player abandons the run or leaves the result screen (for a
// new run too: newRunAsked). A recording that cannot be finished at time up is said on
// standard error; the result is said on standard output.
bool playChallengeTurn(ChallengeRun& run, PlaySession& session, Game& game);
// Takes its pictures off the screen and lets go of the result screen.
void endChallengeRun(ChallengeRun& run);
