// The options over a paused game: opening them from the pause screen, one turn of
// their input, applying what changed at once (volume with a sample of it, the
// window), and saving the changes to the settings file when the player leaves.
#pragma once

#include "app/options_menu.h"
#include "platform/platform.h"

#include <string>

struct PlaySession;

struct OptionsState {
    bool open = false;
    OptionsMenu menu;
    Settings before;       // in effect when they opened, as the file is to be compared with
    PadState lastPads;     // the controllers at the last turn
    int sampleSound = -1;  // the library sound that plays the volume sample, once made
};

// What the sound library and the window are to show of the settings.
void applyVolume(const Settings& settings);
void applyWindowMode(const Settings& settings);

// Shows the options over the paused game's picture.
void openOptions(PlaySession& session);
// One turn of the open options; false once the player has left them (saved; the
// caller shows the pause screen).
bool answerOptions(PlaySession& session);
// Leaves the options as the player would (the game is quitting).
void closeOptions(PlaySession& session);
