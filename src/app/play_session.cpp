// The play loop's turns. A paused turn shows nothing new: it waits for events, so a
// paused game uses almost no processor time. The pause and help screens are drawn
// over the last frame played, kept when the game paused.
#include "app/play_session.h"

#include "app/frame_hash.h"
#include "app/help_screen.h"
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
// A replay waits for a frame's time in slices, so that pause and quit still answer
// while a long recorded step (a stall) is waited out.
constexpr double kLongestReplayWait = 0.05;
// A replay that fell behind (a slow machine, a window being dragged) forgets lateness
// beyond this rather than rush through frames to catch up.
constexpr double kMostReplayLateness = 0.25;
// Fixed steps likewise catch up at most this much real time after a hitch.
constexpr double kMostStepsOwed = 0.25;
// Real time read off a clock of some thousand seconds is off by a few ulps from the
// steps that add up to it: a step this close to due is due, so that a runner whose
// clock moves one step a turn plays exactly one step a turn.
constexpr double kStepDueSlack = 1e-6;

// The Escape key itself, apart from the window's close button, which reads as Escape too.
int escapeKey()
{
    static const int key = KEY_BY_NAME("Escape");
    return key;
}

bool quitAsked(const PlaySession& session, const FrameInput& input)
{
    return (KEY_DOWN(scancode::ESCAPE) && !session.help.escapeHeld) || input.held[bit(Action::quit)];
}

// The time spent saving is not played: the next step leaves it out.
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
        showNotice(session.notice, "Screenshot saved: " + path.substr(path.rfind('/') + 1));
    } else {
        std::fprintf(stderr, "screenshot not saved: %s\n", error.c_str());
        showNotice(session.notice, "Screenshot not saved: " + error);
    }
    if (session.paused) showScreenAgain();
    session.lastReal += REAL_SECONDS() - started;
}

// The time up to the pause was played: it reaches the first frame after the resume.
void pause(PlaySession& session, SoundBank& sounds)
{
    session.pausedFrameHash = frameHash();
    session.pausedPicture = keepScreenPicture();
    session.bankedStep = measureStep(session);
    RELEASE_KEYS();
    session.paused = true;
    session.pausedVoices = pauseAllVoices(sounds);
    showMousePointer(true);
}

void showPaused(const PlaySession& session)
{
    restoreScreenPicture(session.pausedPicture);
    showPauseScreen(pauseMessage(session.settings));
}

void resume(PlaySession& session)
{
    session.paused = false;
    session.help.resumeAfter = false;
    showMousePointer(false);
    std::vector<uint32_t>().swap(session.pausedPicture);
    resumeVoices(session.pausedVoices);
    session.pausedVoices.clear();
    skipUnplayedTime(session);
}

void openHelp(PlaySession& session, bool resumeAfter)
{
    session.help.shown = true;
    session.help.resumeAfter = resumeAfter;
    restoreScreenPicture(session.pausedPicture);
    SCREEN_LOCK();
    drawHelp(gameHelpLines(session.settings));
    SCREEN_UNLOCK(-1, -1);
}

// Back to the pause screen, or to play when the help paused the game. The game's own
// frame reads Escape live, so play goes on only once an Escape that closed the help
// is up again; until then the plain picture shows.
void closeHelp(PlaySession& session, bool byEscape)
{
    session.help.shown = false;
    session.help.escapeHeld = byEscape;
    if (!session.help.resumeAfter) {
        showPaused(session);
    } else if (byEscape) {
        restoreScreenPicture(session.pausedPicture);
    } else {
        resume(session);
    }
}

// The pause screen's one line, Options: the options key, or A or a click on it. (Not
// Enter: Alt+Enter switches fullscreen.)
bool optionsAsked(const FrameInput& input)
{
    int x = 0, y = 0;
    const bool clicked = leftClickAt(x, y) && onOptionsLine(x, y);
    return input.pressed[bit(Action::options)] || (PADS_READ().pressed & (1u << pad::A)) || clicked;
}

// The options take every key and button while they are open; the window's close
// button leaves them, saving, and quits.
bool answerOptionsTurn(PlaySession& session)
{
    const bool closing = KEY_DOWN(scancode::ESCAPE) && !KEY_HELD(escapeKey());
    if (closing) {
        closeOptions(session);
        return false;
    }
    if (!answerOptions(session)) {
        // The Escape that left them must be up before it can quit.
        session.help.escapeHeld = KEY_HELD(escapeKey());
        showPaused(session);
    }
    WAIT_EVENTS(kPausedWaitMs);
    return true;
}

void answerPauseAndHelp(PlaySession& session, SoundBank& sounds, const FrameInput& input)
{
    const bool pausePressed = input.pressed[bit(Action::pause)];
    const bool helpPressed = input.pressed[bit(Action::help)];
    // Escape pressed again is a new press, not the one that closed a screen: it quits.
    if (session.help.escapeHeld && (!KEY_HELD(escapeKey()) || KEY_PRESSED(escapeKey()))) {
        session.help.escapeHeld = false;
        if (session.help.resumeAfter && !session.help.shown) resume(session);
    }
    if (session.help.shown) {
        const bool escapePressed = KEY_PRESSED(escapeKey());
        if (helpPressed || pausePressed || escapePressed) closeHelp(session, escapePressed);
    } else if (!session.paused && (pausePressed || helpPressed || input.focusLost)) {
        pause(session, sounds);
        if (helpPressed && !pausePressed) {
            openHelp(session, true);
        } else {
            showPaused(session);
        }
    } else if (session.paused && pausePressed && !session.help.escapeHeld) {
        resume(session);
    } else if (session.paused && helpPressed) {
        openHelp(session, false);
    } else if (session.paused && !session.help.escapeHeld && optionsAsked(input)) {
        openOptions(session);
    }
}

// Replaying: whether the real time since the last frame has reached the next frame's
// recorded step. When it has not, the turn is a frame boundary that shows nothing (the
// input it read is used up, so a press is not seen again by the next turn) and waits
// towards the step, so the frame is due by a later turn. A browser page cannot wait:
// there the wait is the time until the browser's next frame.
bool recordedStepDue(PlaySession& session, double step)
{
    const double early = step - (REAL_SECONDS() - session.lastReal + session.bankedStep);
    if (early <= 0.0) return true;
    PUMP_EVENTS();
    SLEEP_MS(static_cast<int>(std::ceil(std::min(early, kLongestReplayWait) * 1000.0)));
    return false;
}

// Replaying: the next recorded frame, once it is due; false when the demo is over or
// the player quits. The real time a frame came late (or, by a fraction of a
// millisecond, early) counts towards the next one, so a long replay keeps its pace.
bool playRecordedFrame(PlaySession& session, const FrameInput& input, const FrameRunner& runFrame)
{
    DemoReplay& replay = *session.replay;
    if (quitAsked(session, input) || replay.played == replay.demo.frames.size()) return false;
    const DemoFrame& frame = replay.demo.frames[replay.played];
    if (!recordedStepDue(session, frame.step)) return true;
    session.bankedStep = std::min(measureStep(session) - frame.step, kMostReplayLateness);
    ++replay.played;
    return playFrame(session, frame.held, frame.step, runFrame);
}

// As many whole steps as the owed time asks, then one presentation. The first step
// takes the turn's held actions (with the taps since the last shown frame), the others
// only what is still down.
bool playFixedSteps(PlaySession& session, const FrameInput& input, const SteppedFrame& frame)
{
    FixedSteps& fixed = *session.fixedSteps;
    fixed.owed = std::min(fixed.owed + measureStep(session), kMostStepsOwed);
    ActionSet held = input.held;
    SCREEN_LOCK(); // the steps draw into the screen; only the last one's picture is shown
    while (fixed.played < fixed.limit && fixed.owed > fixed.step - kStepDueSlack) {
        fixed.owed -= fixed.step;
        ++fixed.played;
        playStep(session, held, fixed.step, frame.advance);
        held = input.downNow;
    }
    WAIT_VSYNC();
    SCREEN_UNLOCK(SCREEN_HEIGHT, SCREEN_HEIGHT); // the steps marked what they drew: no step, nothing new to show
    return frame.afterShown();
}

// A turn's input, pause and help, and screenshot around play, which is one frame, a
// recorded frame, or fixed steps.
bool takeTurn(PlaySession& session, SoundBank& sounds, const std::function<bool(const FrameInput&)>& play)
{
    const FrameInput input = readFrameInput(session.settings);
    if (expireNotice(session.notice) && session.paused) showScreenAgain();
    if (session.options.open) return answerOptionsTurn(session);
    answerPauseAndHelp(session, sounds, input);
    if (session.paused) {
        // A run of fixed steps (a challenge) asks before it ends: its own turn answers quit.
        if (!session.fixedSteps && quitAsked(session, input)) return false;
        if (input.pressed[bit(Action::screenshot)]) takeScreenshot(session);
        WAIT_EVENTS(kPausedWaitMs);
        return true;
    }
    const bool running = play(input);
    if (input.pressed[bit(Action::screenshot)]) takeScreenshot(session);
    return running;
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

PlaySession sessionForSamePlayer(const PlaySession& played)
{
    PlaySession next;
    next.settings = played.settings;
    next.settingsFile = played.settingsFile;
    next.screenshotFolder = played.screenshotFolder;
    return next;
}

void showScreenAgain()
{
    SCREEN_LOCK();
    SCREEN_UNLOCK(SCREEN_HEIGHT, SCREEN_HEIGHT);
}

void beginSession(PlaySession& session)
{
    // A window already open (a new run, a demo watched in it) stays as the player left
    // it: resized, moved or switched with Alt+Enter.
    if (!SCREEN_POINTER()) applyWindowMode(session.settings);
    applyVolume(session.settings);
    PADS_OPEN();
    session.lastReal = REAL_SECONDS();
    session.gameClock = session.replay ? session.replay->demo.start.clock : session.startClock.value_or(session.lastReal);
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
    bool running = false;
    playStep(session, held, step, [&] { running = runFrame(); });
    return running;
}

void playStep(PlaySession& session, const ActionSet& held, double step, const std::function<void()>& advance)
{
    if (session.recording) record(*session.recording, {held, step});
    session.gameClock += step;
    HOLD_TIMER(session.gameClock);
    HOLD_KEYS(ruleKeys(held));
    advance();
}

bool stepsUsedUp(const PlaySession& session)
{
    return session.fixedSteps && session.fixedSteps->played == session.fixedSteps->limit;
}

bool stepSession(PlaySession& session, SoundBank& sounds, const FrameRunner& runFrame)
{
    return takeTurn(session, sounds, [&](const FrameInput& input) {
        return session.replay ? playRecordedFrame(session, input, runFrame)
                              : playFrame(session, input.held, measureStep(session), runFrame);
    });
}

bool stepSession(PlaySession& session, SoundBank& sounds, const SteppedFrame& frame)
{
    return takeTurn(session, sounds, [&](const FrameInput& input) { return playFixedSteps(session, input, frame); });
}

uint64_t playedFrameHash(const PlaySession& session) { return session.paused ? session.pausedFrameHash : frameHash(); }

void endSession(PlaySession& session)
{
    if (session.options.open) closeOptions(session);
    if (session.paused) resume(session);
    session.help = HelpState{};
    removeNotice(session.notice);
    RELEASE_TIMER();
    RELEASE_KEYS();
}
