// The game's six sounds: the wave files it loads into the sound bank and the named
// sounds made from them, with as many voices as can sound at once.
#pragma once

#include "sound/sound.h"

#include <string>

struct GameSounds {
    int thrust = 0;
    int explode = 0;
    int zap = 0;
    int ping = 0;
    int pingReturn = 0;
    int shield = 0;
    int zapWave = -1; // the shot's wave, short enough to try a volume with
};

// Loads the waves from dataFolder/audio/effects/ and makes the named sounds, in the
// order that numbers them 0 to 5. When the audio device is open, each wave file that
// cannot be used is named in one line on standard error; its sound stays silent.
GameSounds loadGameSounds(SoundBank& bank, const std::string& dataFolder, bool audioOpen);
// THRUST and SHIELD follow the ship and loop for ever from start-up on; the controls
// only pause and resume them. The ship's position must stay where it is.
void startShipSounds(SoundBank& bank, const GameSounds& sounds, const Vec2f* shipPosition);
// A one-off play of the sound starting at a world point.
void playSoundAt(SoundBank& bank, int sound, Vec2f point);
// Pauses or resumes the looping voice of THRUST or SHIELD.
void pauseShipSound(SoundBank& bank, int sound, bool paused);
