// The recording sound library of the headless platform. It keeps the real one's rules
// (a failed wave keeps its number and makes silent sounds, only a playing sound can be
// paused, nothing works before FBS_INIT) and its numbering of waves and created sounds;
// only the sounds FBS_PLAY_WAVE hands out are numbered differently (see there).
#include "platform/fbsound.h"
#include "platform/headless/fbsound_fake.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <set>

namespace {

struct FakeSound {
    int wave = 0;
    int loopsLeft = 0;
    bool paused = false;
};

struct FakeLibrary {
    bool open = false;
    std::string initFailure;
    std::string error;
    std::set<std::string> failingFiles;
    std::vector<bool> waveUsable;
    std::vector<FakeSound> sounds;
    std::vector<fbsound_fake::Call> calls;
};

FakeLibrary fake;

void record(const char* function, std::string text, std::vector<int> numbers, std::vector<float> values = {})
{
    fake.calls.push_back({function, std::move(text), std::move(numbers), std::move(values)});
}

bool validSound(int sound) { return sound >= 0 && sound < static_cast<int>(fake.sounds.size()); }
bool validWave(int wave) { return wave >= 0 && wave < static_cast<int>(fake.waveUsable.size()); }
bool audible(int sound) { return fake.open && validSound(sound) && fake.waveUsable[fake.sounds[sound].wave]; }
bool playing(int sound) { return validSound(sound) && fake.sounds[sound].loopsLeft > 0; }

bool loadWave(const std::string& fileName, int& wave)
{
    wave = static_cast<int>(fake.waveUsable.size());
    const bool usable = fake.open && !fake.failingFiles.contains(fileName);
    fake.waveUsable.push_back(usable);
    fake.error = usable ? "" : "could not load " + fileName;
    return usable;
}

} // namespace

bool FBS_SET_PLUGPATH(const std::string& path)
{
    record("FBS_SET_PLUGPATH", path, {});
    return true;
}

bool FBS_INIT(int sampleRate, int channels, int buffers, int framesPerBuffer, int plugIndex, int deviceIndex)
{
    record("FBS_INIT", "", {sampleRate, channels, buffers, framesPerBuffer, plugIndex, deviceIndex});
    fake.error = fake.initFailure;
    fake.initFailure.clear();
    fake.open = fake.error.empty();
    return fake.open;
}

std::string FBS_ERROR() { return fake.error; }

void FBS_EXIT()
{
    record("FBS_EXIT", "", {});
    fake.open = false;
    fake.waveUsable.clear();
    fake.sounds.clear();
}

bool FBS_LOAD_WAVFILE(const std::string& fileName, int& wave)
{
    const bool loaded = loadWave(fileName, wave);
    record("FBS_LOAD_WAVFILE", fileName, {wave});
    return loaded;
}

bool FBS_LOAD_MP3FILE(const std::string& fileName, int& wave, const std::string& temporaryFile)
{
    const bool loaded = loadWave(fileName, wave);
    record("FBS_LOAD_MP3FILE", fileName + "|" + temporaryFile, {wave});
    return loaded;
}

bool FBS_CREATE_SOUND(int wave, int& sound)
{
    record("FBS_CREATE_SOUND", "", {wave});
    if (!validWave(wave)) return false;
    sound = static_cast<int>(fake.sounds.size());
    fake.sounds.push_back({.wave = wave});
    return true;
}

bool FBS_PLAY_SOUND(int sound, int loopCount)
{
    record("FBS_PLAY_SOUND", "", {sound, loopCount});
    if (!audible(sound)) return false;
    fake.sounds[sound].loopsLeft = loopCount > 0 ? loopCount : INT_MAX;
    fake.sounds[sound].paused = false;
    return true;
}

// Always makes a new sound. The real library first reuses a finished sound that was
// played without a handle, so from then on its sound numbers can be lower than these.
bool FBS_PLAY_WAVE(int wave, int loopCount, float speed, float volume, float pan, int* sound)
{
    record("FBS_PLAY_WAVE", "", {wave, loopCount, sound ? 1 : 0}, {speed, volume, pan});
    if (!validWave(wave)) return false;
    const int made = static_cast<int>(fake.sounds.size());
    fake.sounds.push_back({.wave = wave});
    if (sound) *sound = made;
    if (!audible(made)) return false;
    fake.sounds[made].loopsLeft = loopCount > 0 ? loopCount : INT_MAX;
    return true;
}

bool FBS_GET_SOUNDLOOPS(int sound, int& loopsLeft)
{
    record("FBS_GET_SOUNDLOOPS", "", {sound});
    loopsLeft = validSound(sound) ? fake.sounds[sound].loopsLeft : 0;
    return validSound(sound);
}

bool FBS_GET_SOUNDPAUSED(int sound, bool& paused)
{
    record("FBS_GET_SOUNDPAUSED", "", {sound});
    paused = playing(sound) && fake.sounds[sound].paused;
    return validSound(sound);
}

bool FBS_SET_SOUNDPAUSED(int sound, bool paused)
{
    record("FBS_SET_SOUNDPAUSED", "", {sound, paused ? 1 : 0});
    if (!playing(sound)) return false;
    fake.sounds[sound].paused = paused;
    return true;
}

bool FBS_SET_SOUNDVOLUME(int sound, float volume)
{
    record("FBS_SET_SOUNDVOLUME", "", {sound}, {volume});
    return validSound(sound);
}

bool FBS_SET_SOUNDPAN(int sound, float pan)
{
    record("FBS_SET_SOUNDPAN", "", {sound}, {pan});
    return validSound(sound);
}

bool FBS_SET_MASTERVOLUME(float level)
{
    record("FBS_SET_MASTERVOLUME", "", {}, {level});
    return true;
}

namespace fbsound_fake {

void reset() { fake = {}; }

const std::vector<Call>& calls() { return fake.calls; }

std::vector<Call> callsOf(const std::string& function)
{
    std::vector<Call> found;
    std::copy_if(fake.calls.begin(), fake.calls.end(), std::back_inserter(found),
                 [&function](const Call& call) { return call.function == function; });
    return found;
}

void clearCalls() { fake.calls.clear(); }

void failInit(const std::string& reason) { fake.initFailure = reason.empty() ? "failed" : reason; }

void failLoad(const std::string& fileName) { fake.failingFiles.insert(fileName); }

void setLoopsLeft(int sound, int loopsLeft)
{
    if (validSound(sound)) fake.sounds[sound].loopsLeft = loopsLeft;
}

int loopsLeft(int sound) { return validSound(sound) ? fake.sounds[sound].loopsLeft : 0; }

bool paused(int sound) { return playing(sound) && fake.sounds[sound].paused; }

int waveCount() { return static_cast<int>(fake.waveUsable.size()); }

int soundCount() { return static_cast<int>(fake.sounds.size()); }

} // namespace fbsound_fake
