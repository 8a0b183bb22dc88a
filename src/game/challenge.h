// A day's challenge started in the play session: the day's start clock (and so its
// field), level 1, the built-in ship, fixed steps, and a recording that says what it
// is. Shared by the game and the headless runner, so that both play the same run.
#pragma once

#include "app/challenge_day.h"
#include "app/user_folders.h"
#include "game/game.h"
#include "app/play_session.h"

#include <ctime>
#include <string>

// The testing aid that shortens a run to fewer steps; such a run is never a result.
inline const std::string kChallengeStepsVariable = "SPACE_GAME_CHALLENGE_STEPS";

// The steps a run has: kChallengeSteps, or what the testing variable says. False with
// error when the variable is set to anything but a whole number from 1 to kChallengeSteps.
bool challengeSteps(const Environment& environment, int& steps, std::string& error);

// Where a run is recorded unless the player names a file: DAY-UNIXTIME-PID.demo in the
// challenge folder (score_table.h), which is made when missing, so that two runs never share a file.
// False with error naming the folder and the problem.
bool challengeDemoPath(const Environment& environment, const ChallengeDay& day, std::time_t now, long processId,
                       std::string& path, std::string& error);

// Begins the session at the day's start clock and starts the game in it as a challenge
// of so many steps, flying the built-in ship with the session's shake. The window's
// title names the day. False with error as startPlaying gives it.
bool startChallenge(PlaySession& session, Game& game, const ChallengeDay& day, int steps, std::string& error);

// Why a demo is no challenge result, checked beyond its replay: its day's start clock
// and seed, level 1, the built-in ship, exactly kChallengeSteps steps of exactly
// kChallengeStep, the current rules, and not shortened. Empty when it is well formed.
std::string challengeProblem(const Demo& demo);

// The whole seconds left, rounded up: "3:00" before the first step, "0:00" at the end.
int challengeSecondsLeft(const PlaySession& session);
