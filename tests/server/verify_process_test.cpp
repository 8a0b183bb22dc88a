// A judgement in a child process: whatever the child does, the server gets a verdict
// and goes on. Each row's child is a small shell script in place of the server's
// program; the real program's replays are checked by tests/server/leaderboard_server.sh.
#include "server/verify_process.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
const std::atomic<bool> kGoingOn = false;
}

TEST(VerifyProcess, AChildThatCrashesOrRunsOutOrSaysNothingRejectsTheRunAlone)
{
    const ScratchFolder scratch("verify_process", {});
    const struct {
        const char* script; // run as PROGRAM --verify-demo FILE --data DIR
        bool verified;
        const char* reason;
    } rows[] = {
        {R"(test "$1 $3 $4" = "--verify-demo --data data" && test -s "$2" && echo '{"verified":true,"score":75,"level":2}')",
         true, ""},
        {"echo '{\"verified\":false,\"reason\":\"no\"}'", false, "no"},
        {"kill -SEGV $$", false, "the replay failed: it crashed (Segmentation fault)"},
        {"kill -XCPU $$", false, "the replay failed: it used more than its 60 s of processor time"},
        {"echo '{\"verified\":true,\"score\":7'", false, "the replay failed: it gave no verdict"},
        {"echo '{\"verified\":true,\"score\":7,\"level\":1}'; exit 3", false,
         "the replay failed: it ended with status 3"},
    };
    const std::string program = (scratch.path() / "judge").string();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        std::ofstream(program) << "#!/bin/sh\n" << row.script << "\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        const uint8_t demo[] = {1, 2, 3};
        std::string error;
        const std::optional<ChallengeJudgement> judgement = judgeInChildProcess({program, "data"}, demo, kGoingOn, error);
        ASSERT_TRUE(judgement) << error;
        EXPECT_EQ(judgement->verified, row.verified);
        EXPECT_EQ(judgement->reason, row.reason);
    }
}

TEST(VerifyProcess, NoChildOrAStopIsTheServersFaultNotTheRuns)
{
    std::string error;
    const uint8_t demo[] = {1};
    EXPECT_FALSE(judgeInChildProcess({"/nonexistent/judge", "data"}, demo, kGoingOn, error));
    EXPECT_NE(error.find("cannot start /nonexistent/judge"), std::string::npos) << error;

    const ScratchFolder scratch("verify_process_stop", {});
    const std::string program = (scratch.path() / "judge").string();
    std::ofstream(program) << "#!/bin/sh\nexec sleep 60\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::atomic<bool> stopping = true;
    EXPECT_FALSE(judgeInChildProcess({program, "data"}, demo, stopping, error));
    EXPECT_EQ(error, "the server is stopping");

    // As a program that cannot be run ends where posix_spawn cannot say so (under an emulator).
    std::ofstream(program) << "#!/bin/sh\nexit 127\n";
    EXPECT_FALSE(judgeInChildProcess({program, "data"}, demo, kGoingOn, error));
    EXPECT_EQ(error, "cannot start " + program);
}
