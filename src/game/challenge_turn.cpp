// The countdown and the abandon question are overlays, so they never enter the
// world's frames or their hashes; the question stops the world as a pause does.
#include "game/challenge_turn.h"

#include "game/challenge.h"
#include "game/game_demo.h"
#include "game/game_session.h"
#include "platform/key_positions.h"
#include "platform/platform.h"
#include "render/image.h"
#include "app/sound_pause.h"

#include <cstdio>
#include <limits>

namespace {

constexpr int kCornerMargin = 8;
constexpr int kAskingWaitMs = 250;
const std::string kAbandonQuestion = "Abandon this run? Escape again to quit, any other key to play on";

// "2:59"
std::string clockText(int seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

void showCountdown(ChallengeRun& run, int seconds)
{
    if (seconds == run.countdownShows) return;
    Image* picture = createTextStrip({clockText(seconds)});
    if (!picture) return; // no memory for it: the old one stays
    SCREEN_OVERLAY(picture, SCREEN_WIDTH - int(picture->width) - kCornerMargin, kCornerMargin, OVERLAY_CORNER);
    destroyImage(run.countdown);
    run.countdown = picture;
    run.countdownShows = seconds;
}

// A new press of Escape (or the controller's quit), or a click on the window's close
// button (which reads as Escape held until it is answered).
bool escapePressed(ChallengeRun& run, const PlaySession& session)
{
    const bool down = KEY_DOWN(scancode::ESCAPE) != 0 || readFrameInput(session.settings).held[bit(Action::quit)];
    const bool pressed = down && !run.escapeHeld;
    run.escapeHeld = down;
    CANCEL_CLOSE();
    return pressed;
}

bool otherKeyPressed()
{
    for (int key = 1; key < key_position::COUNT; ++key) {
        if (key != key_position::ESCAPE && KEY_PRESSED(key)) return true;
    }
    return false;
}

void askToAbandon(ChallengeRun& run, PlaySession& session, Game& game)
{
    run.askingToAbandon = true;
    run.pausedVoices = pauseAllVoices(game.soundBank);
    showNotice(session.notice, {kAbandonQuestion}, std::numeric_limits<double>::infinity());
    showScreenAgain();
}

// False when the player quits; the time spent asking is not played.
bool answerAbandon(ChallengeRun& run, PlaySession& session)
{
    if (escapePressed(run, session)) return false;
    if (otherKeyPressed()) {
        run.askingToAbandon = false;
        resumeVoices(run.pausedVoices);
        run.pausedVoices.clear();
        removeNotice(session.notice);
        showScreenAgain();
        skipUnplayedTime(session);
        return true;
    }
    WAIT_EVENTS(kAskingWaitMs);
    return true;
}

void reachTimeUp(ChallengeRun& run, PlaySession& session, Game& game)
{
    run.timeUp = true;
    RELEASE_KEYS();
    const DemoEnd end = gameEnd(session, game);
    std::string error;
    if (!finishRecording(session, end, error)) std::fprintf(stderr, "the demo is incomplete: %s\n", error.c_str());
    run.result.score = end.score;
    run.result.level = end.level;
    removeNotice(session.notice);
    SCREEN_OVERLAY(nullptr, 0, 0, OVERLAY_CORNER); // "TIME UP" says it; a demo watched next has no countdown
    std::printf("challenge %s: score %d, level %d%s\n", formatChallengeDay(run.result.day).c_str(), run.result.score,
                run.result.level, run.result.shortened ? " (a shortened test run)" : run.result.practice ? " (practice)" : "");
    std::fflush(stdout);
    showResult(run.resultTurns, run.result, run.challengeFolder, session.settings.leaderboard);
}

bool resultScreenTurn(ChallengeRun& run, const PlaySession& session, Game& game)
{
    const ResultChoice choice = resultTurn(run.resultTurns, session, game);
    run.newRunAsked = choice == ResultChoice::newRun;
    return choice == ResultChoice::stay;
}

} // namespace

bool playChallengeTurn(ChallengeRun& run, PlaySession& session, Game& game)
{
    if (run.timeUp) return resultScreenTurn(run, session, game);
    if (run.askingToAbandon) return answerAbandon(run, session);
    if (escapePressed(run, session)) {
        askToAbandon(run, session, game);
        return true;
    }
    const bool running = playTurn(session, game);
    showCountdown(run, challengeSecondsLeft(session));
    if (stepsUsedUp(session)) reachTimeUp(run, session, game);
    return running;
}

void endChallengeRun(ChallengeRun& run)
{
    closeResult(run.resultTurns);
    SCREEN_OVERLAY(nullptr, 0, 0, OVERLAY_CORNER);
    destroyImage(run.countdown);
    run.countdown = nullptr;
}
