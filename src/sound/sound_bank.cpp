// Setting the sound bank up and taking it down: the library start, the waves and
// music, the named sounds with their voices, and the followers. Every loaded file
// and every made sound is announced by name, one line each, as it happens.
#include "platform/fbsound.h"
#include "sound/sound.h"

namespace {

constexpr const char* kPluginPath = "./lib/";
constexpr int kSampleRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kOutputBuffers = 3;
constexpr int kFramesPerBuffer = 2048;
constexpr int kPluginIndex = 0;
constexpr int kDeviceIndex = 0;
// A voice whose library sound could not be made; the library rejects it, so the
// voice stays silent instead of steering some other voice's sound.
constexpr int32_t kNoSound = -1;

void announce(SoundBank& bank, const std::string& line)
{
    // Flushed line by line so the names are out even if the program stops early.
    *bank.nameOutput << line << std::endl;
}

int addWave(SoundBank& bank, std::vector<SoundWave>& list, const std::string& fileName, bool mp3)
{
    SoundWave& entry = list.emplace_back();
    entry.fileName = fileName;
    entry.loaded = mp3 ? FBS_LOAD_MP3FILE(fileName, entry.wave, "") : FBS_LOAD_WAVFILE(fileName, entry.wave);
    announce(bank, fileName);
    return static_cast<int>(list.size()) - 1;
}

} // namespace

bool SOUND_INIT(SoundBank& bank, std::ostream& nameOutput)
{
    bank = SoundBank{};
    bank.nameOutput = &nameOutput;
    FBS_SET_PLUGPATH(kPluginPath);
    return FBS_INIT(kSampleRate, kOutputChannels, kOutputBuffers, kFramesPerBuffer, kPluginIndex, kDeviceIndex);
}

void SOUND_CLOSE(SoundBank& bank)
{
    // Release the memory, not only the contents: the bank is done with for good.
    std::vector<SoundWave>().swap(bank.music);
    std::vector<NamedSound>().swap(bank.sounds);
    std::vector<SoundWave>().swap(bank.waves);
}

int SOUND_LOAD_WAV(SoundBank& bank, const std::string& fileName) { return addWave(bank, bank.waves, fileName, false); }

int SOUND_LOAD_MP3(SoundBank& bank, const std::string& fileName) { return addWave(bank, bank.music, fileName, true); }

int SOUND_CREATE(SoundBank& bank, int wave, int highestVoice, const std::string& name)
{
    NamedSound& entry = bank.sounds.emplace_back();
    entry.name = name;
    entry.voices.resize(highestVoice >= 0 ? static_cast<size_t>(highestVoice) + 1 : 0);
    for (SoundVoice& voice : entry.voices) {
        if (!FBS_CREATE_SOUND(wave, voice.sound)) voice.sound = kNoSound;
    }
    announce(bank, name);
    return static_cast<int>(bank.sounds.size()) - 1;
}

bool SOUND_FOLLOW(NamedSound& sound, const Vec2f* point, int voice)
{
    if (!point) return false;
    const auto follow = [point](SoundVoice& v) {
        v.followed = point;
        v.follow = true;
    };
    if (voice < 0) {
        for (SoundVoice& v : sound.voices) follow(v);
        return true;
    }
    if (voice >= static_cast<int>(sound.voices.size())) return false;
    follow(sound.voices[voice]);
    return true;
}

void SOUND_PLAY_MUSIC(SoundBank& bank, int music)
{
    if (music < 0 || music >= static_cast<int>(bank.music.size())) return;
    bank.currentMusic = bank.music[music].wave;
    FBS_PLAY_WAVE(bank.currentMusic, 0, 1.0f, 1.0f, 0.0f, nullptr);
}
