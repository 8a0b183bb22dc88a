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
#pragma once

#include "frame_input.h"
#include "settings.h"
#include "sound.h"

#include <functional>
#include <string>
#include <vector>

struct PlaySession {
    Settings settings;
    std::string screenshotFolder;
    double gameClock = 0.0; // what TIMER_SECONDS answers during a frame
    double lastReal = 0.0;  // the real clock's reading the game clock last caught up with
    double bankedStep = 0.0; // played before the pause began; part of the first step after it
    bool paused = false;
    std::vector<int> pausedVoices; // library sounds to resume with the game
};

// Runs one frame of the game; false when the game ends (Escape).
using FrameRunner = std::function<bool()>;

// Applies the settings that must come before the window and the sound start (window
// size, fullscreen, volume), starts watching for controllers, and starts the game
// clock at the real clock, held, so that the game's start-up reads the time its first
// frame's step is measured from.
void beginSession(PlaySession& session);
// Skips the real time since the last reading (start-up, a pause): it is not played.
void skipUnplayedTime(PlaySession& session);
// One turn of the loop: reads the input; pauses (pause pressed, or the window lost the
// focus), waits while paused, resumes when pause is pressed again; otherwise plays a
// frame; takes a screenshot when asked. False when the player quits.
bool stepSession(PlaySession& session, SoundBank& sounds, const FrameRunner& runFrame);
// The real time since the last reading (and any time banked by a pause), which the
// next frame is to play.
double measureStep(PlaySession& session);
// The one place a frame's time and input reach the rules, and the only place the game
// clock moves: by step, and the rules see held as their keys for the whole frame. A
// recording keeps each frame's step and held set from here; a replay passes them in.
bool playFrame(PlaySession& session, const ActionSet& held, double step, const FrameRunner& runFrame);
// Lets go of the clock and keys: TIMER_SECONDS and KEY_DOWN read the live ones again.
void endSession(PlaySession& session);
