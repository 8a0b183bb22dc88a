// The voices at work: plays are requested and started one update later, playing
// voices get a volume and pan from their offset to the listener, and pausing asks
// the library first. Volume and pan are only sent when they change, so a quiet frame
// costs one loop query per voice.
#include "platform/fbsound.h"
#include "sound/sound.h"

#include <cmath>
#include <cstdint>

namespace {

// An offset rounded to the nearest integer, ties to even. Kept within the 32-bit
// range (and NaN at 0) so that the squares below fit in 64 bits.
int64_t roundedOffset(float offset)
{
    constexpr float kLimit = 2147483520.0f; // the largest float below 2^31
    if (std::isnan(offset)) return 0;
    return static_cast<int64_t>(std::nearbyint(std::fmax(-kLimit, std::fmin(kLimit, offset))));
}

NamedSound* findSound(SoundBank& bank, int sound)
{
    if (sound < 0 || sound >= static_cast<int>(bank.sounds.size())) return nullptr;
    return &bank.sounds[sound];
}

int loopsLeft(const SoundVoice& voice)
{
    int loops = 0;
    FBS_GET_SOUNDLOOPS(voice.sound, loops);
    return loops;
}

void placeVoice(const SoundBank& bank, SoundVoice& voice)
{
    if (voice.follow && voice.followed) voice.position = *voice.followed;
    const int64_t dx = roundedOffset(voice.position.x - bank.listener.x);
    const int64_t dy = roundedOffset(voice.position.y - bank.listener.y);
    // Squares in integers, the divisions in double; neither result is bounded, so the
    // volume goes below 0 past about 438 units and the pan beyond +-1 past 400.
    const float volume = static_cast<float>(2.0 - static_cast<double>(dx * dx + dy * dy) / bank.volumeFalloff);
    if (volume != voice.volume) {
        FBS_SET_SOUNDVOLUME(voice.sound, volume);
        voice.volume = volume;
    }
    const float pan = static_cast<float>(static_cast<double>(dx) / bank.panDistance);
    if (pan != voice.pan) {
        FBS_SET_SOUNDPAN(voice.sound, pan);
        voice.pan = pan;
    }
}

} // namespace

void SOUND_UPDATE(SoundBank& bank)
{
    for (NamedSound& sound : bank.sounds) {
        for (SoundVoice& voice : sound.voices) {
            if (loopsLeft(voice) > 0) placeVoice(bank, voice);
            // A voice requested this frame starts now, with the volume and pan it was
            // last given; they are brought up to date from the next update on.
            if (voice.playRequest) {
                voice.playRequest = false;
                FBS_PLAY_SOUND(voice.sound, voice.loopCount);
            }
        }
    }
}

void SOUND_PLAY(SoundBank& bank, int sound, int loopCount)
{
    NamedSound* named = findSound(bank, sound);
    if (!named) return;
    // A requested voice still reports 0 loops until it starts, so repeated plays
    // before the next update land on the same voice and only the last is heard.
    for (SoundVoice& voice : named->voices) {
        if (loopsLeft(voice) == 0) {
            voice.position = named->position;
            voice.loopCount = loopCount;
            voice.playRequest = true;
            return;
        }
    }
}

void SOUND_SET_POSITION(SoundBank& bank, int sound, Vec2f position)
{
    if (NamedSound* named = findSound(bank, sound)) named->position = position;
}

void SOUND_SET_LISTENER(SoundBank& bank, Vec2f position) { bank.listener = position; }

void SOUND_SET_PAUSED(SoundBank& bank, int sound, bool paused, int voice)
{
    NamedSound* named = findSound(bank, sound);
    if (!named || voice < 0 || voice >= static_cast<int>(named->voices.size())) return;
    const int32_t handle = named->voices[voice].sound;
    bool current = false;
    FBS_GET_SOUNDPAUSED(handle, current);
    if (current != paused) FBS_SET_SOUNDPAUSED(handle, paused);
}
