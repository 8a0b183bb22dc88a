// Watching a demo lets go of the finished game and starts a replay in its place, in the
// same window; the tables come back drawn over the picture kept at time up. The screen
// is redrawn only when something changed.
#include "game/result_turns.h"

#include "app/pause_screen.h"
#include "app/result_view.h"
#include "game/game_demo.h"
#include "game/game_session.h"
#include "platform/platform.h"

#include <ctime>

namespace {

constexpr int kIdleWaitMs = 50; // the screen waits for input without using the CPU

void redraw(ResultTurns& turns)
{
    followNaming(turns.screen, turns.textInputOn);
    drawResultScreen(turns.screen, turns.stoppedWorld);
}

void startWatching(ResultTurns& turns, const PlaySession& played, Game& game)
{
    Demo demo;
    std::string error;
    if (!readDemoFile(selectedDemo(turns.screen), demo, error)) {
        turns.screen.problems.push_back(error);
        return;
    }
    releaseGame(game);
    turns.watching = std::make_unique<PlaySession>(sessionForSamePlayer(played));
    if (!startReplaying(*turns.watching, game, std::move(demo), error)) turns.screen.problems.push_back(error);
}

void stopWatching(ResultTurns& turns, Game& game)
{
    endSession(*turns.watching);
    turns.watching.reset();
    releaseGame(game);
    SCREEN_TITLE(challengeTitle(turns.screen.run.day));
}

} // namespace

void showResult(ResultTurns& turns, const ChallengeResult& run, const std::string& challengeFolder,
                const std::string& leaderboard)
{
    turns.stoppedWorld = keepScreenPicture();
    turns.screen = openResultScreen(run, challengeFolder, std::time(nullptr));
    turns.screen.leaderboard = leaderboard.empty() ? HTTP_HOME() : leaderboard;
    turns.screen.leaderboardIsHome = leaderboard.empty();
    redraw(turns);
}

ResultChoice resultTurn(ResultTurns& turns, const PlaySession& played, Game& game)
{
    // The leaderboard's answers come in while the player reads, or watches.
    const bool boardNews = turns.screen.upload && followBoardUpload(*turns.screen.upload, REAL_SECONDS());
    if (turns.watching) {
        // The replay ends at its last frame or at Escape; the tables come back either way.
        if (!playTurn(*turns.watching, game)) {
            stopWatching(turns, game);
            redraw(turns);
        }
        return ResultChoice::stay;
    }
    WAIT_EVENTS(kIdleWaitMs);
    const ResultInput input = readResultInput();
    const ResultLines before = resultLines(turns.screen);
    const ResultChoice choice = updateResultScreen(turns.screen, input);
    if (choice == ResultChoice::watch) {
        followNaming(turns.screen, turns.textInputOn);
        startWatching(turns, played, game);
        if (!turns.watching) redraw(turns);
        return ResultChoice::stay;
    }
    if (boardNews || resultLines(turns.screen) != before) redraw(turns);
    return choice;
}

void closeResult(ResultTurns& turns)
{
    closeResultScreen(turns.screen);
    followNaming(turns.screen, turns.textInputOn);
}
