// The loop around the game's rules: it owns the game clock, decides each frame's
// input, pauses and resumes, and takes screenshots, so that the rules keep reading
// TIMER_SECONDS and KEY_DOWN as they always have.
//
// The game clock is the sum of the real time steps of the frames played. Each frame
// the real clock's advance since the last reading becomes the step, the game clock
// moves by it and TIMER_SECONDS answers the game clock for the whole frame. Paused
// time (and time spent saving a screenshot) is skipped, so it never reaches the world
// as a step. Without a pause the game clock equals the real one bit for bit: the step
// real - last is exact while the two readings lie within a factor of two (Sterbenz),
// so last + step gives back real exactly.
//
// A demo being recorded keeps each frame's step and held actions as they reach the
// rules. A demo being replayed puts its own in their place, each frame once the real
// clock has caught up with the recorded steps, so it plays at the speed it was played
// (at once on the headless backend, whose clock a wait simply moves on).
//
// A session may instead play fixed steps (a challenge): the real time that passes is
// owed to the world and paid in whole steps of one length, as many per shown frame as
// it asks for, and only the last step's picture is shown. The world then comes out the
// same whatever the display's rate.
#pragma once

#include "app/demo_file.h"
#include "app/frame_input.h"
#include "app/options_session.h"
#include "app/screen_notice.h"
#include "app/settings.h"
#include "sound/sound.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct DemoReplay {
    Demo demo;
    size_t played = 0; // frames played so far
};

// Fixed steps: how long each is, how many the run has, how many are played.
struct FixedSteps {
    double step = 0.0;
    int limit = 0;
    int played = 0;
    double owed = 0.0; // real time not yet played, less than a step after a turn
};

// The key help over a paused game (F1).
struct HelpState {
    bool shown = false;
    bool resumeAfter = false; // the help paused the game: closing it plays on
    bool escapeHeld = false;  // the Escape key that closed it is still down: it neither quits nor plays on yet
};

struct PlaySession {
    Settings settings;
    std::string screenshotFolder;
    double seed = 0.0;      // what the game's generator was seeded with
    double gameClock = 0.0; // what TIMER_SECONDS answers during a frame
    double lastReal = 0.0;  // the real clock's reading the game clock last caught up with
    double bankedStep = 0.0; // played before the pause began; part of the first step after it
    bool paused = false;
    std::vector<int> pausedVoices; // library sounds to resume with the game
    uint64_t pausedFrameHash = 0;  // the last frame played, before the pause screen dimmed it
    std::vector<uint32_t> pausedPicture; // that frame, for the pause and help screens to be drawn over
    HelpState help;
    OptionsState options;
    std::string settingsFile; // where the options save what the player changes; empty: nowhere
    int volumeSampleWave = -1; // a short wave of the game's, played at a new volume; -1: none
    ScreenNotice notice; // where the last screenshot went, for a moment
    std::unique_ptr<DemoWriter> recording;
    std::optional<DemoReplay> replay; // the frames to play instead of the player's
    std::optional<FixedSteps> fixedSteps; // none: each turn plays one frame of the real time passed
    std::optional<double> startClock;      // the game clock to start at, in place of the real clock's reading
    std::optional<DemoChallenge> challenge; // the challenge played, for its recording to name
};

// Runs one frame of the game; false when the game ends (Escape).
using FrameRunner = std::function<bool()>;
// A game's frame taken apart, so that steps that are not shown are still played:
// advance plays one step of the rules and draws it into the screen, which the caller
// holds locked (the drawing is part of the world: it spawns effects); afterShown runs
// once the picture is shown (the frame's rest) and says whether the game goes on.
struct SteppedFrame {
    std::function<void()> advance;
    std::function<bool()> afterShown;
};

// A fresh session for the same player, for another game in the same window (a new
// run, a demo watched): the settings, and where they and the screenshots are saved.
PlaySession sessionForSamePlayer(const PlaySession& played);
// Shows the screen anew without drawing, for an overlay changed over a screen that
// draws no frames (a paused game, a question asked).
void showScreenAgain();
// Applies the settings that must come before the window and the sound start (window
// size and fullscreen, unless the window is open already; volume), starts watching for
// controllers, and starts the game clock at the real clock (or at startClock, or where
// the replayed demo's started), held, so that the game's start-up reads the time its
// first frame's step is measured from.
void beginSession(PlaySession& session);
// Skips the real time since the last reading (start-up, a pause): it is not played.
void skipUnplayedTime(PlaySession& session);
// One turn of the loop: reads the input; pauses (pause pressed, or the window lost the
// focus), waits while paused, resumes when pause is pressed again; shows the key help
// (paused) when help is pressed, until help, pause or Escape closes it; opens the
// options from the pause screen and answers them until the player leaves; otherwise
// plays a frame (or, replaying, the next recorded frame once it is due); takes a
// screenshot when asked and says for a moment in the window where it went. False
// when the player quits or the replayed demo is over.
bool stepSession(PlaySession& session, SoundBank& sounds, const FrameRunner& runFrame);
// The same for a session of fixed steps (session.fixedSteps, no replay): the steps the
// real time since the last turn asks for (the first holding the turn's held actions,
// the others only those still down, so a tap counts once), then one presentation; at
// most a quarter of a second is caught up after a hitch, the rest is never played. Once
// the limit is played the world stands still. Quitting is left to the caller, which
// asks first: a paused turn does not end on Escape either.
bool stepSession(PlaySession& session, SoundBank& sounds, const SteppedFrame& frame);
// The real time since the last reading (and any time banked by a pause), which the
// next frame is to play.
double measureStep(PlaySession& session);
// The one place a frame's time and input reach the rules, and the only place the game
// clock moves: by step, and the rules see held as their keys for the whole frame. A
// recording keeps each frame's step and held set from here; a replay passes them in.
bool playFrame(PlaySession& session, const ActionSet& held, double step, const FrameRunner& runFrame);
// playFrame of an advance that shows nothing: the step is drawn into the locked screen.
void playStep(PlaySession& session, const ActionSet& held, double step, const std::function<void()>& advance);
// True once a session of fixed steps has played all of them.
bool stepsUsedUp(const PlaySession& session);
// frameHash() of the last frame played, as it was drawn (a paused game shows it dimmed).
uint64_t playedFrameHash(const PlaySession& session);
// Lets go of the clock and keys: TIMER_SECONDS and KEY_DOWN read the live ones again.
void endSession(PlaySession& session);
