// Loading the game's waves and making its named sounds. The table's order is the
// numbering: wave i is loaded i-th and sound i is made from it.
#include "game/game_sounds.h"

#include "platform/fbsound.h"

#include <array>
#include <cstdio>

namespace {

struct SoundRecipe {
    const char* waveFile;
    const char* name;
    int highestVoice;
};

// In load order: wave i is the one sound i is made from.
constexpr std::array<SoundRecipe, 6> kRecipes{{
    {"thrust.wav", "THRUST", 0},
    {"asstroblast.wav", "EXPLODE", 9},
    {"zap.wav", "ZAP", 19},
    {"ping.wav", "PING", 0},
    {"ping_return.wav", "PING RETURN", 9},
    {"shield.wav", "SHIELD", 0},
}};

constexpr int kLoopForEver = 0;
constexpr int kShipVoice = 0;

} // namespace

GameSounds loadGameSounds(SoundBank& bank, const std::string& dataFolder, bool audioOpen)
{
    std::array<int, kRecipes.size()> waves{};
    for (size_t i = 0; i < kRecipes.size(); ++i) {
        const std::string file = dataFolder + "/audio/effects/" + kRecipes[i].waveFile;
        waves[i] = SOUND_LOAD_WAV(bank, file);
        // Without a device every load fails; the one warning about the device says it all.
        if (audioOpen && !bank.waves[waves[i]].loaded) {
            std::fprintf(stderr, "game: %s cannot be played (%s); that sound stays silent\n", file.c_str(),
                         FBS_ERROR().c_str());
        }
    }
    std::array<int, kRecipes.size()> sounds{};
    for (size_t i = 0; i < kRecipes.size(); ++i) {
        sounds[i] = SOUND_CREATE(bank, waves[i], kRecipes[i].highestVoice, kRecipes[i].name);
    }
    return GameSounds{sounds[0], sounds[1], sounds[2], sounds[3], sounds[4], sounds[5], waves[2]};
}

void startShipSounds(SoundBank& bank, const GameSounds& sounds, const Vec2f* shipPosition)
{
    SOUND_FOLLOW(bank.sounds[sounds.thrust], shipPosition, kShipVoice);
    SOUND_FOLLOW(bank.sounds[sounds.shield], shipPosition, kShipVoice);
    SOUND_PLAY(bank, sounds.thrust, kLoopForEver);
    SOUND_PLAY(bank, sounds.shield, kLoopForEver);
}

void playSoundAt(SoundBank& bank, int sound, Vec2f point)
{
    constexpr int kOnce = 1;
    SOUND_SET_POSITION(bank, sound, point);
    SOUND_PLAY(bank, sound, kOnce);
}

void pauseShipSound(SoundBank& bank, int sound, bool paused) { SOUND_SET_PAUSED(bank, sound, paused, kShipVoice); }
