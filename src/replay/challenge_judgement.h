// A challenge run judged by replaying its demo on the headless backend: it counts only
// when it is a well-formed challenge (challengeProblem), has its recorded end, plays
// every recorded step and ends exactly as recorded, state and picture. The score and
// level judged are the replay's own, never the ones the file claims.
#pragma once

#include "app/demo_file.h"

#include <string>

struct ChallengeJudgement {
    bool verified = false;
    std::string reason; // why it does not count, in words; empty when verified
    int score = 0;      // the replay's, when verified
    int level = 0;
};

// What the demo's bytes alone show to be wrong with it as a run: no well-formed
// challenge, or cut short. Empty when only its replay can tell.
std::string challengeRunProblem(const Demo& demo);

// Replays the demo with the game's files read from dataFolder. Uses the headless
// backend's global state (its clock, keys and sound library) and leaves it reset.
ChallengeJudgement judgeChallengeDemo(Demo demo, const std::string& dataFolder);
