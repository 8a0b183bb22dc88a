// The sound library over SDL2_mixer. Every sound owns the mixer channel with its own
// number, so sounds made from one wave play independently and a channel's volume
// stays with its sound. Whether a sound plays is always asked of the mixer, which
// locks its own state; no callback runs on the audio thread, so nothing here is
// shared with it. Without an audio device every call does nothing and fails.
#include "platform/fbsound.h"
#include "platform/sound_levels.h"
#include "platform/sound_records.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

static_assert(sound_levels::kMixerFullVolume == MIX_MAX_VOLUME, "the shared levels are the mixer's");

struct Mixer {
    bool open = false;
    float masterLevel = 1.0f;
    bool exitHooked = false;
    std::string error;
    std::vector<Mix_Chunk*> waves; // null where the file could not be loaded
    std::vector<LibrarySound> sounds; // sound n plays on mixer channel n
};

Mixer mixer;

bool validSound(int sound) { return sound >= 0 && sound < static_cast<int>(mixer.sounds.size()); }

// The sound's wave when it can make a noise at all.
Mix_Chunk* audibleChunk(int sound)
{
    if (!mixer.open || !validSound(sound)) return nullptr;
    return mixer.waves[mixer.sounds[sound].wave];
}

bool isPlaying(int sound) { return audibleChunk(sound) && Mix_Playing(sound) != 0; }

void applyPan(int channel, float pan)
{
    const sound_levels::PanLevels levels = sound_levels::panLevels(pan);
    Mix_SetPanning(channel, levels.left, levels.right);
}

// Some audio back-ends (ALSA, JACK) print their failures straight to standard error
// while SDL probes them; on a machine without sound that is a screenful of noise.
// The reason that matters comes back through SDL, so their output is dropped while
// the device is opened.
class QuietStandardError {
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (devNull < 0) return;
        saved = dup(STDERR_FILENO);
        if (saved >= 0) dup2(devNull, STDERR_FILENO);
        ::close(devNull);
    }
    ~QuietStandardError()
    {
        if (saved < 0) return;
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved = -1;
};

bool fail(const std::string& why)
{
    mixer.error = why;
    return false;
}

bool loadWave(const std::string& fileName, int& wave)
{
    wave = static_cast<int>(mixer.waves.size());
    mixer.waves.push_back(nullptr);
    if (!mixer.open) return fail("no sound output");
    // Read here rather than by SDL_mixer, so that a FIFO or a device in the data
    // folder is refused instead of waited on.
    FileBytes file;
    std::string problem;
    if (!readWholeFile(fileName, kSoundFile, file, problem)) return fail(fileName + ": " + problem);
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(file.data.get(), int(file.size)), 1);
    if (!chunk) return fail(Mix_GetError());
    mixer.waves.back() = chunk;
    mixer.error.clear();
    return true;
}

void exitAtProgramEnd() { FBS_EXIT(); }

} // namespace

bool FBS_SET_PLUGPATH(const std::string& /*path*/) { return true; }

bool FBS_INIT(int sampleRate, int channels, int /*buffers*/, int framesPerBuffer, int /*plugIndex*/,
              int /*deviceIndex*/)
{
    if (mixer.open) return true;
    {
        const QuietStandardError quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return fail(std::string("could not start the audio system: ") + SDL_GetError());
        }
        if (Mix_OpenAudio(sampleRate, AUDIO_S16SYS, channels, framesPerBuffer) != 0) {
            const std::string why = std::string("could not open the audio device: ") + Mix_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return fail(why);
        }
    }
    // The mixer's default channels would play waves of their own; ours are allocated
    // one per sound as sounds are made.
    Mix_AllocateChannels(static_cast<int>(mixer.sounds.size()));
    Mix_MasterVolume(sound_levels::masterVolume(mixer.masterLevel));
    mixer.open = true;
    mixer.error.clear();
    if (!mixer.exitHooked) mixer.exitHooked = std::atexit(exitAtProgramEnd) == 0;
    return true;
}

std::string FBS_ERROR() { return mixer.error; }

void FBS_EXIT()
{
    if (mixer.open) {
        Mix_HaltChannel(-1); // no chunk may be mixed once it is freed
        for (Mix_Chunk* chunk : mixer.waves) {
            if (chunk) Mix_FreeChunk(chunk);
        }
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    }
    mixer.open = false;
    mixer.error.clear();
    mixer.waves.clear();
    mixer.sounds.clear();
}

bool FBS_LOAD_WAVFILE(const std::string& fileName, int& wave) { return loadWave(fileName, wave); }

// The mixer's wave loader also decodes MP3 where SDL2_mixer was built with a decoder.
bool FBS_LOAD_MP3FILE(const std::string& fileName, int& wave, const std::string& /*temporaryFile*/)
{
    return loadWave(fileName, wave);
}

bool FBS_CREATE_SOUND(int wave, int& sound)
{
    if (wave < 0 || wave >= static_cast<int>(mixer.waves.size())) return false;
    sound = static_cast<int>(mixer.sounds.size());
    mixer.sounds.push_back(LibrarySound{.wave = wave});
    if (mixer.open) Mix_AllocateChannels(static_cast<int>(mixer.sounds.size()));
    return true;
}

bool FBS_PLAY_SOUND(int sound, int loopCount)
{
    Mix_Chunk* chunk = audibleChunk(sound);
    if (!chunk) return false;
    LibrarySound& s = mixer.sounds[sound];
    // Halting first drops the panning of the previous play; then the play starts with
    // this sound's settings from its first sample.
    Mix_HaltChannel(sound);
    Mix_Volume(sound, sound_levels::mixerVolume(s.volume));
    applyPan(sound, s.pan);
    s.loopCount = std::max(loopCount, 0);
    const int repeats = loopCount > 0 ? loopCount - 1 : -1; // the mixer counts plays after the first
    return Mix_PlayChannel(sound, chunk, repeats) == sound;
}

bool FBS_PLAY_WAVE(int wave, int loopCount, float /*speed*/, float volume, float pan, int* sound)
{
    if (wave < 0 || wave >= static_cast<int>(mixer.waves.size())) return false;
    int chosen = -1;
    const auto makeSound = [wave](int& made) { return FBS_CREATE_SOUND(wave, made); };
    const bool ready = sound_records::soundForWave(mixer.sounds, isPlaying, makeSound, wave, volume, pan, sound, chosen);
    return ready && FBS_PLAY_SOUND(chosen, loopCount);
}

bool FBS_GET_SOUNDLOOPS(int sound, int& loopsLeft)
{
    loopsLeft = 0;
    if (!validSound(sound)) return false;
    loopsLeft = sound_records::loopsLeft(mixer.sounds[sound], isPlaying(sound));
    return true;
}

bool FBS_GET_SOUNDPAUSED(int sound, bool& paused)
{
    paused = false;
    if (!validSound(sound)) return false;
    paused = isPlaying(sound) && Mix_Paused(sound) != 0;
    return true;
}

bool FBS_SET_SOUNDPAUSED(int sound, bool paused)
{
    if (!isPlaying(sound)) return false;
    if (paused) {
        // The mixer marks a pause with the tick count, and a count of 0 reads as "not
        // paused": a pause in SDL's first millisecond would be lost.
        while (SDL_GetTicks() == 0) SDL_Delay(1);
        Mix_Pause(sound);
    } else {
        Mix_Resume(sound);
    }
    return true;
}

bool FBS_SET_SOUNDVOLUME(int sound, float volume)
{
    if (!validSound(sound)) return false;
    mixer.sounds[sound].volume = volume;
    if (mixer.open) Mix_Volume(sound, sound_levels::mixerVolume(volume));
    return true;
}

bool FBS_SET_SOUNDPAN(int sound, float pan)
{
    if (!validSound(sound)) return false;
    mixer.sounds[sound].pan = pan;
    if (mixer.open) applyPan(sound, pan);
    return true;
}

bool FBS_SET_MASTERVOLUME(float level)
{
    mixer.masterLevel = std::isnan(level) ? 1.0f : std::clamp(level, 0.0f, 1.0f);
    if (mixer.open) Mix_MasterVolume(sound_levels::masterVolume(mixer.masterLevel));
    return true;
}
