// The play loop's turns. A paused turn shows nothing new: it waits for events, so a
// paused game uses almost no processor time.
#include "app/play_session.h"

#include "platform/fbsound.h"
#include "app/frame_hash.h"
#include "app/pause_screen.h"
#include "platform/platform.h"
#include "app/screenshot.h"
#include "app/sound_pause.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kPausedWaitMs = 250;
constexpr double kFullVolume = 100.0;
// A replay waits for a frame's time in slices, so that pause and quit still answer
// while a long recorded step (a stall) is waited out.
constexpr double kLongestReplayWait = 0.05;
// A replay that fell behind (a slow machine, a window being dragged) forgets lateness
// beyond this rather than rush through frames to catch up.
constexpr double kMostReplayLateness = 0.25;

// The time spent saving is not played: the next step leaves it out.
bool quitAsked(const FrameInput& input) { return KEY_DOWN(scancode::ESCAPE) || input.held[bit(Action::quit)]; }

void takeScreenshot(PlaySession& session)
{
    const double started = REAL_SECONDS();
    const std::time_t now = std::time(nullptr);
    std::tm localTime{};
    localtime_r(&now, &localTime);
    std::string path, error;
    if (saveScreenshot(session.screenshotFolder, localTime, path, error)) {
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "screenshot not saved: %s\n", error.c_str());
    }
    session.lastReal += REAL_SECONDS() - started;
}

// The time up to the pause was played: it reaches the first frame after the resume.
void pause(PlaySession& session, SoundBank& sounds)
{
    session.pausedFrameHash = frameHash();
    session.bankedStep = measureStep(session);
    RELEASE_KEYS();
    session.paused = true;
    session.pausedVoices = pauseAllVoices(sounds);
    showPauseScreen(pauseMessage(session.settings));
}

void resume(PlaySession& session)
{
    session.paused = false;
    resumeVoices(session.pausedVoices);
    session.pausedVoices.clear();
    skipUnplayedTime(session);
}

// Replaying: whether the real time since the last frame has reached the next frame's
// recorded step. When it has not, waits towards it, so the frame is due by the next
// turn (or by this one, after a short wait).
bool recordedStepDue(PlaySession& session, double step)
{
    const double early = step - (REAL_SECONDS() - session.lastReal + session.bankedStep);
    if (early <= 0.0) return true;
    SLEEP_MS(static_cast<int>(std::ceil(std::min(early, kLongestReplayWait) * 1000.0)));
    return early <= kLongestReplayWait;
}

// Replaying: the next recorded frame, once it is due; false when the demo is over or
// the player quits. The real time a frame came late (or, by a fraction of a
// millisecond, early) counts towards the next one, so a long replay keeps its pace.
bool playRecordedFrame(PlaySession& session, const FrameInput& input, const FrameRunner& runFrame)
{
    DemoReplay& replay = *session.replay;
    if (quitAsked(input) || replay.played == replay.demo.frames.size()) return false;
    const DemoFrame& frame = replay.demo.frames[replay.played];
    if (!recordedStepDue(session, frame.step)) return true;
    session.bankedStep = std::min(measureStep(session) - frame.step, kMostReplayLateness);
    ++replay.played;
    return playFrame(session, frame.held, frame.step, runFrame);
}

// A recording that stops (a full disk) is said at once: the player may still be
// playing for a demo that will never hold the rest.
void record(DemoWriter& recording, const DemoFrame& frame)
{
    const bool wasWriting = recording.error().empty();
    recording.add(frame);
    if (wasWriting && !recording.error().empty()) {
        std::fprintf(stderr, "the demo is recorded no further: %s\n", recording.error().c_str());
    }
}

} // namespace

void beginSession(PlaySession& session)
{
    const Settings& settings = session.settings;
    SCREEN_WINDOW_MODE(settings.windowScale, settings.fullscreen);
    FBS_SET_MASTERVOLUME(static_cast<float>(settings.volume / kFullVolume));
    PADS_OPEN();
    session.lastReal = REAL_SECONDS();
    session.gameClock = session.replay ? session.replay->demo.start.clock : session.lastReal;
    session.bankedStep = 0.0;
    session.paused = false;
    HOLD_TIMER(session.gameClock);
}

void skipUnplayedTime(PlaySession& session) { session.lastReal = REAL_SECONDS(); }

double measureStep(PlaySession& session)
{
    const double real = REAL_SECONDS();
    const double step = real - session.lastReal + session.bankedStep;
    session.lastReal = real;
    session.bankedStep = 0.0;
    return step;
}

bool playFrame(PlaySession& session, const ActionSet& held, double step, const FrameRunner& runFrame)
{
    if (session.recording) record(*session.recording, {held, step});
    session.gameClock += step;
    HOLD_TIMER(session.gameClock);
    HOLD_KEYS(ruleKeys(held));
    return runFrame();
}

bool stepSession(PlaySession& session, SoundBank& sounds, const FrameRunner& runFrame)
{
    const FrameInput input = readFrameInput(session.settings);
    const bool pausePressed = input.pressed[bit(Action::pause)];
    if (!session.paused && (pausePressed || input.focusLost)) {
        pause(session, sounds);
    } else if (session.paused && pausePressed) {
        resume(session);
    }
    if (session.paused) {
        if (quitAsked(input)) return false;
        if (input.pressed[bit(Action::screenshot)]) takeScreenshot(session);
        WAIT_EVENTS(kPausedWaitMs);
        return true;
    }
    const bool running = session.replay ? playRecordedFrame(session, input, runFrame)
                                        : playFrame(session, input.held, measureStep(session), runFrame);
    if (input.pressed[bit(Action::screenshot)]) takeScreenshot(session);
    return running;
}

uint64_t playedFrameHash(const PlaySession& session) { return session.paused ? session.pausedFrameHash : frameHash(); }

void endSession(PlaySession& session)
{
    if (session.paused) resume(session);
    RELEASE_TIMER();
    RELEASE_KEYS();
}
