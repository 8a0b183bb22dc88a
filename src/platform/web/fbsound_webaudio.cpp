// The sound library over the browser's Web Audio. Each sound plays through two gains,
// one per side, at the mixer's levels (sound_levels.h), so volume and pan sound as on
// the desktop. Web Audio cannot pause a playing source: a pause stops it and keeps how
// far it got, and the resume starts a new one from there. Browsers start sound only
// after the user's first key or click; the page waits for that before the program
// starts (page.js), and resumes the audio then.
#include "platform/fbsound.h"
#include "platform/sound_levels.h"
#include "platform/sound_records.h"
#include "platform/web/web_wav.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <vector>

namespace {

struct WebSound : LibrarySound {
    bool paused = false;
    double pausedAt = 0.0; // seconds into the plays, while paused
};

struct Library {
    bool open = false;
    float masterLevel = 1.0f;
    std::string error;
    std::vector<bool> waveUsable; // false where the file could not be loaded
    std::vector<WebSound> sounds; // sound n is the page's voice n
};

Library library;

bool validSound(int sound) { return sound >= 0 && sound < static_cast<int>(library.sounds.size()); }
bool validWave(int wave) { return wave >= 0 && wave < static_cast<int>(library.waveUsable.size()); }
bool audible(int sound) { return library.open && validSound(sound) && library.waveUsable[library.sounds[sound].wave]; }

bool fail(const std::string& why)
{
    library.error = why;
    return false;
}

} // namespace

EM_JS(bool, audioOpen, (), {
    const Context = globalThis.AudioContext || globalThis.webkitAudioContext;
    if (!Context) return false;
    const context = new Context();
    const master = context.createGain();
    master.connect(context.destination);
    Module.audio = {context : context, master : master, waves : [], voices : []};
    return true;
});

EM_JS(void, audioClose, (), {
    if (!Module.audio) return;
    Module.audio.context.close();
    Module.audio = null;
});

// Into the page's slot of the same number, so a wave that failed to load (whose slot
// stays empty) shifts no later wave onto its neighbour's buffer.
EM_JS(void, audioAddWave, (int wave, const float* samples, int frames, int channels, int rate), {
    const buffer = Module.audio.context.createBuffer(channels, Math.max(frames, 1), rate);
    const first = samples >> 2;
    for (let c = 0; c < channels; ++c) {
        buffer.copyToChannel(HEAPF32.subarray(first + c * frames, first + (c + 1) * frames), c);
    }
    Module.audio.waves[wave] = frames > 0 ? buffer : null;
});

// Silent, and no voice, for an empty wave.
EM_JS(void, audioStart, (int voice, int wave, double offset, int plays, double left, double right), {
    const audio = Module.audio;
    const stopped = audio.voices[voice];
    if (stopped) stopped.source.stop();
    audio.voices[voice] = null;
    const buffer = audio.waves[wave];
    if (!buffer) return;
    const context = audio.context;
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.loop = true;
    const sides = context.createChannelMerger(2);
    const gains = [ context.createGain(), context.createGain() ];
    gains.forEach((gain, side) => {
        source.connect(gain);
        gain.connect(sides, 0, side);
    });
    gains[0].gain.value = left;
    gains[1].gain.value = right;
    sides.connect(audio.master);
    const now = context.currentTime;
    source.start(now, offset % buffer.duration);
    const end = plays > 0 ? now + plays * buffer.duration - offset : Infinity;
    if (plays > 0) source.stop(end);
    audio.voices[voice] = {source : source, gains : gains, began : now - offset, end : end};
});

// How far the voice got, in seconds from its first play's start; it is stopped.
EM_JS(double, audioStop, (int voice), {
    const playing = Module.audio.voices[voice];
    if (!playing) return 0;
    playing.source.stop();
    Module.audio.voices[voice] = null;
    return Module.audio.context.currentTime - playing.began;
});

EM_JS(bool, audioPlaying, (int voice), {
    const playing = Module.audio.voices[voice];
    return !!playing && Module.audio.context.currentTime < playing.end;
});

EM_JS(void, audioLevels, (int voice, double left, double right), {
    const playing = Module.audio.voices[voice];
    if (!playing) return;
    playing.gains[0].gain.value = left;
    playing.gains[1].gain.value = right;
});

EM_JS(void, audioMaster, (double level), {
    if (Module.audio) Module.audio.master.gain.value = level;
});

namespace {

void sideLevels(const WebSound& sound, double& left, double& right)
{
    const double volume = double(sound_levels::mixerVolume(sound.volume)) / sound_levels::kMixerFullVolume;
    const sound_levels::PanLevels pan = sound_levels::panLevels(sound.pan);
    left = volume * pan.left / sound_levels::kFullPanLevel;
    right = volume * pan.right / sound_levels::kFullPanLevel;
}

void start(int sound, double offset)
{
    const WebSound& s = library.sounds[sound];
    double left = 0.0, right = 0.0;
    sideLevels(s, left, right);
    audioStart(sound, s.wave, offset, s.loopCount, left, right);
}

void applyLevels(int sound)
{
    double left = 0.0, right = 0.0;
    sideLevels(library.sounds[sound], left, right);
    audioLevels(sound, left, right);
}

double masterGain() { return double(sound_levels::masterVolume(library.masterLevel)) / sound_levels::kMixerFullVolume; }

bool isPlaying(int sound) { return audible(sound) && (library.sounds[sound].paused || audioPlaying(sound)); }

void exitAtProgramEnd() { FBS_EXIT(); }

} // namespace

bool FBS_SET_PLUGPATH(const std::string& /*path*/) { return true; }

bool FBS_INIT(int /*sampleRate*/, int /*channels*/, int /*buffers*/, int /*framesPerBuffer*/, int /*plugIndex*/,
              int /*deviceIndex*/)
{
    if (library.open) return true;
    if (!audioOpen()) return fail("this browser has no Web Audio");
    audioMaster(masterGain());
    library.open = true;
    library.error.clear();
    std::atexit(exitAtProgramEnd);
    return true;
}

std::string FBS_ERROR() { return library.error; }

void FBS_EXIT()
{
    if (library.open) audioClose();
    library.open = false;
    library.error.clear();
    library.waveUsable.clear();
    library.sounds.clear();
}

bool FBS_LOAD_WAVFILE(const std::string& fileName, int& wave)
{
    wave = static_cast<int>(library.waveUsable.size());
    library.waveUsable.push_back(false);
    if (!library.open) return fail("no sound output");
    PcmWave pcm;
    std::string problem;
    if (!readPcmWave(fileName, pcm, problem)) return fail(problem);
    audioAddWave(wave, pcm.samples.data(), int(pcm.frames()), pcm.channels, pcm.sampleRate);
    library.waveUsable.back() = true;
    library.error.clear();
    return true;
}

bool FBS_LOAD_MP3FILE(const std::string& /*fileName*/, int& wave, const std::string& /*temporaryFile*/)
{
    wave = static_cast<int>(library.waveUsable.size());
    library.waveUsable.push_back(false);
    return fail("no MP3 decoder in the browser version");
}

bool FBS_CREATE_SOUND(int wave, int& sound)
{
    if (!validWave(wave)) return false;
    sound = static_cast<int>(library.sounds.size());
    WebSound made;
    made.wave = wave;
    library.sounds.push_back(made);
    return true;
}

bool FBS_PLAY_SOUND(int sound, int loopCount)
{
    if (!audible(sound)) return false;
    WebSound& s = library.sounds[sound];
    s.loopCount = std::max(loopCount, 0);
    s.paused = false;
    start(sound, 0.0);
    return true;
}

bool FBS_PLAY_WAVE(int wave, int loopCount, float /*speed*/, float volume, float pan, int* sound)
{
    if (!validWave(wave)) return false;
    int chosen = -1;
    const auto makeSound = [wave](int& made) { return FBS_CREATE_SOUND(wave, made); };
    const bool ready = sound_records::soundForWave(library.sounds, isPlaying, makeSound, wave, volume, pan, sound, chosen);
    return ready && FBS_PLAY_SOUND(chosen, loopCount);
}

bool FBS_GET_SOUNDLOOPS(int sound, int& loopsLeft)
{
    loopsLeft = 0;
    if (!validSound(sound)) return false;
    loopsLeft = sound_records::loopsLeft(library.sounds[sound], isPlaying(sound));
    return true;
}

bool FBS_GET_SOUNDPAUSED(int sound, bool& paused)
{
    paused = false;
    if (!validSound(sound)) return false;
    paused = isPlaying(sound) && library.sounds[sound].paused;
    return true;
}

bool FBS_SET_SOUNDPAUSED(int sound, bool paused)
{
    if (!isPlaying(sound)) return false;
    WebSound& s = library.sounds[sound];
    if (paused && !s.paused) s.pausedAt = audioStop(sound);
    if (!paused && s.paused) start(sound, s.pausedAt);
    s.paused = paused;
    return true;
}

bool FBS_SET_SOUNDVOLUME(int sound, float volume)
{
    if (!validSound(sound)) return false;
    library.sounds[sound].volume = volume;
    if (library.open) applyLevels(sound);
    return true;
}

bool FBS_SET_SOUNDPAN(int sound, float pan)
{
    if (!validSound(sound)) return false;
    library.sounds[sound].pan = pan;
    if (library.open) applyLevels(sound);
    return true;
}

bool FBS_SET_MASTERVOLUME(float level)
{
    library.masterLevel = std::isnan(level) ? 1.0f : std::clamp(level, 0.0f, 1.0f);
    if (library.open) audioMaster(masterGain());
    return true;
}
