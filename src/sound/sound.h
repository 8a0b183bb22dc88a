// The sound bank: the loaded waves, the named sounds made from them, and for each
// named sound a fixed set of voices that can sound at once. Once per update every
// playing voice's offset from the listener becomes its volume and stereo pan. All
// audio work is done by the sound library (fbsound.h); the bank only calls it, on
// the main thread. Named sounds and waves are referred to by their index.
#pragma once

#include "space/vec2f.h"

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

struct SoundWave {
    std::string fileName; // as given
    int32_t wave = 0;     // the library's handle
    bool loaded = false;  // false: the file could not be used and its sounds are silent
};

struct SoundVoice {
    Vec2f position;
    float volume = 0.0f; // as last given to the library
    float pan = 0.0f;    // as last given to the library
    int32_t sound = 0;   // the library's sound, made for this voice alone
    int32_t loopCount = 0;
    bool follow = false;
    bool playRequest = false;       // start at the next SOUND_UPDATE
    const Vec2f* followed = nullptr; // not owned; must outlive its use by the bank
};

struct NamedSound {
    std::string name;
    Vec2f position; // where the next play starts
    std::vector<SoundVoice> voices;
};

struct SoundBank {
    uint32_t panDistance = 400;     // horizontal distance at which the pan reaches 1.0
    uint32_t volumeFalloff = 96000; // squared distance over which the volume falls by 1.0
    Vec2f listener;
    std::vector<SoundWave> waves;
    std::vector<NamedSound> sounds;
    std::vector<SoundWave> music;
    int32_t currentMusic = 0;
    std::ostream* nameOutput = &std::cout; // where loaded file names and sound names are written
};

// Empties the bank and starts the library; the library's result. Each wave file name
// and each sound name is written as one line to nameOutput.
bool SOUND_INIT(SoundBank& bank, std::ostream& nameOutput = std::cout);
// Frees what the bank holds. The library is not called.
void SOUND_CLOSE(SoundBank& bank);

// Index of the new wave. A file that fails to load still takes its index; its entry
// says it was not loaded.
int SOUND_LOAD_WAV(SoundBank& bank, const std::string& fileName);
int SOUND_LOAD_MP3(SoundBank& bank, const std::string& fileName);
// A named sound with voices 0..highestVoice, each its own library sound made from
// the wave; returns the sound's number.
int SOUND_CREATE(SoundBank& bank, int wave, int highestVoice, const std::string& name);
// The voice (every voice for an index below 0) copies the point's position while it
// plays. False, and nothing changes, for a null point or a voice the sound lacks.
bool SOUND_FOLLOW(NamedSound& sound, const Vec2f* point, int voice);

// Places and starts the voices: call once per frame.
void SOUND_UPDATE(SoundBank& bank);
// Takes the first free voice; it starts at the next SOUND_UPDATE from the sound's
// position. With every voice busy the play is dropped.
void SOUND_PLAY(SoundBank& bank, int sound, int loopCount);
void SOUND_SET_POSITION(SoundBank& bank, int sound, Vec2f position);
void SOUND_SET_LISTENER(SoundBank& bank, Vec2f position);
// Asks the library only to change the state when it differs.
void SOUND_SET_PAUSED(SoundBank& bank, int sound, bool paused, int voice);
void SOUND_PLAY_MUSIC(SoundBank& bank, int music);
