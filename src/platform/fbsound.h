// The sound library the game plays through: load waves, make independent sounds
// from them, start, pause, and set each sound's volume and pan while it plays. Two
// implementations: a real one over SDL2_mixer, and a recording fake for the tests.
// Handles are small integers counted from 0 in creation order; every call returns
// true on success. With no audio device every call is a harmless no-op.
#pragma once

#include "files/file_read.h"

#include <string>

// Where output plug-ins would be looked for. Kept for the callers' sake; no plug-in
// is ever loaded.
bool FBS_SET_PLUGPATH(const std::string& path);

// Starts sound output. Buffers, plug-in and device indices are accepted for the
// callers' sake; the default device is used. On false, FBS_ERROR() says why.
bool FBS_INIT(int sampleRate, int channels, int buffers, int framesPerBuffer, int plugIndex, int deviceIndex);
// Why the last FBS_INIT failed, in words for the user; empty after a success.
std::string FBS_ERROR();
// Stops sound output and forgets every wave and sound, so FBS_INIT may run again.
// Also run at program exit.
void FBS_EXIT();

// Minutes of CD-quality sound: far more than any effect, and a bound on what a wave
// file may cost in memory.
constexpr FileKind kSoundFile{"sound file", uint64_t(64) << 20};

// Waves are numbered 0, 1, 2, ... in load order. A file that fails to load still
// takes its number (as a silent wave), so the waves after it keep theirs; wave is
// set either way and the result says whether the file was usable.
bool FBS_LOAD_WAVFILE(const std::string& fileName, int& wave);
// The same for MP3 files; false where no MP3 decoder is available. The temporary
// file name is not used.
bool FBS_LOAD_MP3FILE(const std::string& fileName, int& wave, const std::string& temporaryFile);

// A new sound that plays the wave independently of every other sound made from it.
// A sound made from a silent wave is silent; false for a wave number never loaded.
bool FBS_CREATE_SOUND(int wave, int& sound);

// Starts the sound from the beginning, unpaused, with its last volume and pan. A
// loop count of n > 0 plays it n times; 0 (or below) plays it for ever.
bool FBS_PLAY_SOUND(int sound, int loopCount);
// Plays a wave on a sound of its own, which is stored in *sound unless that is null.
// The speed is accepted for the callers' sake; waves always play at speed 1.
bool FBS_PLAY_WAVE(int wave, int loopCount, float speed, float volume, float pan, int* sound);

// Greater than 0 while the sound plays, paused or not: the loop count it was started
// with, or the largest int when it plays for ever. 0 once it is free.
bool FBS_GET_SOUNDLOOPS(int sound, int& loopsLeft);
// Only a playing sound can be paused; a free sound reports false.
bool FBS_GET_SOUNDPAUSED(int sound, bool& paused);
bool FBS_SET_SOUNDPAUSED(int sound, bool paused);

// 2.0 is full loudness, 0 and below silent. Kept across plays of the sound.
bool FBS_SET_SOUNDVOLUME(int sound, float volume);
// -1 is full left, +1 full right; values beyond are clamped. Kept across plays.
bool FBS_SET_SOUNDPAN(int sound, float pan);

// Scales everything the library plays: 1 as loud as the sounds' own volumes, 0 silent
// (values beyond are clamped). Kept across FBS_INIT.
bool FBS_SET_MASTERVOLUME(float level);
