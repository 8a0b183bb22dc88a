// The replay of a challenge run, as `runner --replay` plays it, with the runner's
// checks of a well-formed challenge; the sound bank's notes on what it loaded are
// kept off standard output, which a caller may use for its answer.
#include "replay/challenge_judgement.h"

#include "game/challenge.h"
#include "game/game_demo.h"
#include "game/game_session.h"
#include "platform/headless/fbsound_fake.h"
#include "platform/headless/headless.h"
#include "replay/headless_turn.h"

#include <iostream>

namespace {

ChallengeJudgement rejected(const std::string& reason)
{
    ChallengeJudgement judgement;
    judgement.reason = reason;
    return judgement;
}

// A replay that stops before its last step (a recorded quit) proves nothing about its
// end; replayVerdict calls that "stopped" without a fault, so it is caught here.
ChallengeJudgement judgeReplayed(const PlaySession& session, const DemoEnd& end)
{
    const DemoReplay& replay = *session.replay;
    if (replay.played < replay.demo.frames.size()) {
        return rejected("the replay stops at step " + std::to_string(replay.played) + " of " +
                        std::to_string(replay.demo.frames.size()));
    }
    const ReplayVerdict verdict = replayVerdict(session, end);
    if (verdict.status != 0) return rejected("the replay does not end as recorded: " + verdict.message);
    ChallengeJudgement judgement;
    judgement.verified = true;
    judgement.score = end.score;
    judgement.level = end.level;
    return judgement;
}

} // namespace

// A cut recording is said to be one before its missing steps are counted.
std::string challengeRunProblem(const Demo& demo)
{
    if (!demo.end) return "the recording was cut short: it has no recorded end to check";
    const std::string problem = challengeProblem(demo);
    return problem.empty() ? "" : "not a challenge result: " + problem;
}

ChallengeJudgement judgeChallengeDemo(Demo demo, const std::string& dataFolder)
{
    const std::string problem = challengeRunProblem(demo);
    if (!problem.empty()) return rejected(problem);

    headless::reset();
    fbsound_fake::reset();
    Game game;
    game.dataFolder = dataFolder;
    PlaySession session;
    session.settings = defaultSettings();
    std::streambuf* console = std::cout.rdbuf(nullptr);
    std::string error;
    const bool started = startReplaying(session, game, std::move(demo), error);
    std::cout.rdbuf(console);
    std::cout.clear();
    if (!started) {
        headless::reset();
        return rejected("the replay cannot start: " + error);
    }
    while (playReplayTurnDrawingLastFrame(session, game)) {
    }
    const ChallengeJudgement judgement = judgeReplayed(session, gameEnd(session, game));
    endSession(session);
    endGame(game);
    headless::reset();
    return judgement;
}
