// Through the sound library's own pause, so each voice keeps its place in its wave.
#include "app/sound_pause.h"

#include "platform/fbsound.h"

std::vector<int> pauseAllVoices(const SoundBank& bank)
{
    std::vector<int> paused;
    for (const NamedSound& sound : bank.sounds) {
        for (const SoundVoice& voice : sound.voices) {
            int loops = 0;
            bool alreadyPaused = false;
            FBS_GET_SOUNDLOOPS(voice.sound, loops);
            FBS_GET_SOUNDPAUSED(voice.sound, alreadyPaused);
            if (loops > 0 && !alreadyPaused && FBS_SET_SOUNDPAUSED(voice.sound, true)) paused.push_back(voice.sound);
        }
    }
    return paused;
}

void resumeVoices(const std::vector<int>& paused)
{
    for (int sound : paused) FBS_SET_SOUNDPAUSED(sound, false);
}
