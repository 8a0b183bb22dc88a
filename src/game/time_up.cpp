// The time-up line, shown as a notice that stays.
#include "game/time_up.h"

#include "platform/platform.h"

#include <cstdio>
#include <limits>

namespace {

constexpr int kWaitMs = 250;

} // namespace

void showTimeUp(TimeUpScreen& screen, const ChallengeResult& result)
{
    const std::string score = "score " + std::to_string(result.score) + ", level " + std::to_string(result.level);
    std::printf("challenge %s: %s%s\n", formatChallengeDay(result.day).c_str(), score.c_str(),
                result.shortened ? " (a shortened test run)" : result.practice ? " (practice)" : "");
    std::fflush(stdout);
    showNotice(screen.line, {"Time up: " + score, "Escape to quit"}, std::numeric_limits<double>::infinity());
    SCREEN_LOCK();
    SCREEN_UNLOCK(SCREEN_HEIGHT, SCREEN_HEIGHT); // shows the line over the last frame
}

bool timeUpTurn(TimeUpScreen& screen)
{
    const bool down = KEY_DOWN(scancode::ESCAPE) != 0;
    const bool pressed = down && !screen.escapeHeld;
    screen.escapeHeld = down;
    if (pressed) return false;
    CANCEL_CLOSE(); // a close request still held is the Escape just seen
    WAIT_EVENTS(kWaitMs);
    return true;
}

void closeTimeUp(TimeUpScreen& screen) { removeNotice(screen.line); }
