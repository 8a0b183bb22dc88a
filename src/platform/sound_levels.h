// How loud a sound library's sound plays on each side, worked out once for every
// backend that really plays sound, so that they sound alike: the levels are those of
// SDL2_mixer, which the desktop plays through, in its own steps.
#pragma once

#include <cstdint>

namespace sound_levels {

constexpr float kFullVolume = 2.0f;  // a sound's volume that plays at full loudness
constexpr int kMixerFullVolume = 128; // the mixer's own full volume (MIX_MAX_VOLUME)
constexpr int kFullPanLevel = 255;    // a side at full loudness

// A sound's volume in the mixer's steps: 0 for 0 and below (and NaN), full from 2.0.
int mixerVolume(float volume);
// The master level (1 as loud as the sounds' own volumes, 0 silent) in the mixer's steps.
int masterVolume(float level);

struct PanLevels {
    uint8_t left = kFullPanLevel;
    uint8_t right = kFullPanLevel;
};
// The far side fades out; the near side stays at full level, so a centred sound is as
// loud as an unpanned one. -1 is full left, +1 full right, clamped; NaN is centred.
PanLevels panLevels(float pan);

} // namespace sound_levels
