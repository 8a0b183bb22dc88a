// A demo judged in a child process (verify_call.h): the server's own program started
// with posix_spawn, the demo handed over in a private temporary file and the answer
// read from a pipe within a deadline. Whatever the child does (crash, run out of its
// limits, hang, answer nonsense) costs that one run, never the server.
#pragma once

#include "replay/challenge_judgement.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct VerifyProgram {
    std::string path;       // this program, as executablePath() finds it
    std::string dataFolder; // the game's files the replay reads
};

// Longer than any replay within its processor limit takes on a loaded machine.
constexpr std::chrono::seconds kVerifyDeadline{300};

// The child's judgement; a child that fails gives a rejection "the replay failed: ...".
// Nothing, with error, when the server could not start one (no temporary file, no
// process): the run itself is not at fault then, and stays to be judged again.
std::optional<ChallengeJudgement> judgeInChildProcess(const VerifyProgram& program, std::span<const uint8_t> demo,
                                                      std::string& error);
