// What a challenge shows once its time is up, over the stopped world: for now one
// line with the score and level reached (said on standard output too), until Escape.
// The one place a finished run's result is handed on.
#pragma once

#include "app/challenge_day.h"
#include "app/screen_notice.h"

struct TimeUpScreen {
    ScreenNotice line;
    bool escapeHeld = true; // the Escape that may still be down from play is no answer
};

void showTimeUp(TimeUpScreen& screen, const ChallengeResult& result);
// One turn of the screen; false once the player leaves.
bool timeUpTurn(TimeUpScreen& screen);
void closeTimeUp(TimeUpScreen& screen);
