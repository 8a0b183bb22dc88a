// A challenge as the game program plays it, turn by turn: fixed steps with a countdown
// in the top-right corner, Escape asking once more before it abandons the run, and at
// time up the recording finished and the result handed to the time-up screen.
#pragma once

#include "app/challenge_day.h"
#include "app/screen_notice.h"
#include "game/game.h"
#include "app/play_session.h"
#include "game/time_up.h"

#include <vector>

struct Image;

struct ChallengeRun {
    ChallengeResult result; // the day, practice, shortened and the demo's path, from the start
    Image* countdown = nullptr;
    int countdownShows = -1; // the seconds drawn into it
    bool escapeHeld = false;
    bool askingToAbandon = false;
    std::vector<int> pausedVoices; // while asking
    bool timeUp = false;
    TimeUpScreen timeUpScreen;
};

// One turn; false when the player abandons the run or leaves the time-up screen. A
// recording that cannot be finished at time up is said on standard error.
bool playChallengeTurn(ChallengeRun& run, PlaySession& session, Game& game);
// Takes its pictures off the screen.
void endChallengeRun(ChallengeRun& run);
