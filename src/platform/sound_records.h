// The bookkeeping both real sound libraries keep of their sounds, whatever plays them:
// which wave each plays, how it was last started, its volume and pan, and whether the
// caller holds its handle. Sound n is the library's voice n.
#pragma once

#include "platform/sound_levels.h"

#include <functional>
#include <vector>

struct LibrarySound {
    int wave = 0;
    int loopCount = 0; // as last started: n > 0 plays, 0 for ever
    float volume = sound_levels::kFullVolume;
    float pan = 0.0f;
    bool reusable = false; // made by FBS_PLAY_WAVE for a caller that wanted no handle
};

namespace sound_records {

// The sound FBS_PLAY_WAVE plays the wave on, set to the wave, volume and pan: a
// finished one nobody holds a handle to, else one made with makeSound (false when it
// cannot be made). The handle goes to *sound unless that is null.
template <class Sound>
bool soundForWave(std::vector<Sound>& sounds, const std::function<bool(int)>& playing,
                  const std::function<bool(int&)>& makeSound, int wave, float volume, float pan, int* sound,
                  int& chosen)
{
    chosen = -1;
    for (int i = 0; i < static_cast<int>(sounds.size()) && chosen < 0; ++i) {
        if (sounds[i].reusable && !playing(i)) chosen = i;
    }
    if (chosen < 0 && !makeSound(chosen)) return false;
    LibrarySound& s = sounds[chosen];
    s.wave = wave;
    s.volume = volume;
    s.pan = pan;
    s.reusable = sound == nullptr;
    if (sound) *sound = chosen;
    return true;
}

// FBS_GET_SOUNDLOOPS' answer: the loop count the sound was started with while it
// plays, the largest int when it plays for ever, 0 once it is free.
int loopsLeft(const LibrarySound& sound, bool playing);

} // namespace sound_records
