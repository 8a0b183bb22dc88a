// The sound bank over the recording library: numbering and name lines at start-up,
// the one-update delay of a play, voice choice, the volume and pan of a voice from
// its rounded offset to the listener, following, and pausing.
#include "platform/headless/fbsound_fake.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

using fbsound_fake::callsOf;

class SoundBankTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fbsound_fake::reset();
        ASSERT_TRUE(SOUND_INIT(bank, names));
    }
    void TearDown() override
    {
        SOUND_CLOSE(bank);
        fbsound_fake::reset();
    }

    // A one-voice sound whose voice has been started at the given offset from the
    // listener, with every call so far forgotten.
    SoundVoice& startedVoiceAt(Vec2f offset)
    {
        const int wave = SOUND_LOAD_WAV(bank, "w.wav");
        const int sound = SOUND_CREATE(bank, wave, 0, "ONE");
        SOUND_SET_POSITION(bank, sound, bank.listener + offset);
        SOUND_PLAY(bank, sound, 1);
        SOUND_UPDATE(bank);
        fbsound_fake::clearCalls();
        return bank.sounds[sound].voices[0];
    }

    SoundBank bank;
    std::ostringstream names;
};

struct VolumeAndPan {
    float volume, pan;
};

// What one update sends for the voice (NaN for a value not sent).
VolumeAndPan sentFor(SoundBank& bank, SoundVoice& voice)
{
    SOUND_UPDATE(bank);
    VolumeAndPan sent{NAN, NAN};
    for (const auto& call : callsOf("FBS_SET_SOUNDVOLUME")) {
        if (call.numbers[0] == voice.sound) sent.volume = call.values[0];
    }
    for (const auto& call : callsOf("FBS_SET_SOUNDPAN")) {
        if (call.numbers[0] == voice.sound) sent.pan = call.values[0];
    }
    return sent;
}

} // namespace

TEST_F(SoundBankTest, Init_SetsThePlugPathThenStartsStereo44100)
{
    const auto& calls = fbsound_fake::calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].function, "FBS_SET_PLUGPATH");
    EXPECT_EQ(calls[0].text, "./lib/");
    EXPECT_EQ(calls[1].function, "FBS_INIT");
    EXPECT_EQ(calls[1].numbers, (std::vector<int>{44100, 2, 3, 2048, 0, 0}));
    EXPECT_EQ(bank.panDistance, 400u);
    EXPECT_EQ(bank.volumeFalloff, 96000u);

    fbsound_fake::failInit("no audio device");
    EXPECT_FALSE(SOUND_INIT(bank, names));
}

TEST_F(SoundBankTest, GameStartUp_NumbersWavesAndSoundsFromZeroAndPrintsTwelveNames)
{
    const char* files[] = {"thrust.wav", "asstroblast.wav", "zap.wav", "ping.wav", "ping_return.wav", "shield.wav"};
    const struct {
        const char* name;
        int highestVoice;
    } made[] = {{"THRUST", 0}, {"EXPLODE", 9}, {"ZAP", 19}, {"PING", 0}, {"PING RETURN", 9}, {"SHIELD", 0}};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(SOUND_LOAD_WAV(bank, files[i]), i);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(SOUND_CREATE(bank, i, made[i].highestVoice, made[i].name), i);

    EXPECT_EQ(names.str(), "thrust.wav\nasstroblast.wav\nzap.wav\nping.wav\nping_return.wav\nshield.wav\n"
                           "THRUST\nEXPLODE\nZAP\nPING\nPING RETURN\nSHIELD\n");
    // One library sound per voice, made from the wave number as given, all distinct.
    const auto creates = callsOf("FBS_CREATE_SOUND");
    ASSERT_EQ(creates.size(), 43u);
    int handle = 0;
    for (int s = 0; s < 6; ++s) {
        ASSERT_EQ(bank.sounds[s].voices.size(), static_cast<size_t>(made[s].highestVoice) + 1);
        EXPECT_EQ(bank.waves[s].wave, s);
        for (const SoundVoice& voice : bank.sounds[s].voices) {
            EXPECT_EQ(creates[handle].numbers[0], s);
            EXPECT_EQ(voice.sound, handle++);
        }
    }
}

TEST_F(SoundBankTest, FailedLoad_KeepsItsIndexSoLaterWavesKeepTheirs)
{
    fbsound_fake::failLoad("broken.wav");
    EXPECT_EQ(SOUND_LOAD_WAV(bank, "a.wav"), 0);
    EXPECT_EQ(SOUND_LOAD_WAV(bank, "broken.wav"), 1);
    EXPECT_EQ(SOUND_LOAD_WAV(bank, "c.wav"), 2);
    EXPECT_TRUE(bank.waves[0].loaded);
    EXPECT_FALSE(bank.waves[1].loaded);
    EXPECT_TRUE(bank.waves[2].loaded);
    EXPECT_EQ(bank.waves[2].wave, 2);
    EXPECT_EQ(names.str(), "a.wav\nbroken.wav\nc.wav\n");

    // Its sound is made all the same, and a play of it starts nothing audible.
    const int sound = SOUND_CREATE(bank, 1, 0, "BROKEN");
    SOUND_PLAY(bank, sound, 1);
    SOUND_UPDATE(bank);
    EXPECT_EQ(fbsound_fake::loopsLeft(bank.sounds[sound].voices[0].sound), 0);
}

TEST_F(SoundBankTest, CreateFromUnknownWave_LeavesVoicesSilentInsteadOfSteeringSoundZero)
{
    SOUND_LOAD_WAV(bank, "a.wav");
    SOUND_CREATE(bank, 0, 0, "REAL");
    const int bad = SOUND_CREATE(bank, 7, 1, "NO WAVE");
    for (const SoundVoice& voice : bank.sounds[bad].voices) EXPECT_LT(voice.sound, 0);
    SOUND_PLAY(bank, bad, 0);
    SOUND_UPDATE(bank);
    EXPECT_EQ(fbsound_fake::loopsLeft(0), 0);
}

TEST_F(SoundBankTest, VoiceAtListener_GetsVolumeTwoAndPanZero)
{
    bank.listener = {123.0f, -45.0f};
    SoundVoice& voice = startedVoiceAt({0.0f, 0.0f});
    const VolumeAndPan sent = sentFor(bank, voice);
    EXPECT_EQ(sent.volume, 2.0f);
    EXPECT_TRUE(std::isnan(sent.pan)) << "a pan of 0 equals the stored 0 and is not sent";
    EXPECT_EQ(voice.volume, 2.0f);
    EXPECT_EQ(voice.pan, 0.0f);
}

TEST_F(SoundBankTest, VoiceFarRight_GetsUnboundedPanAndVolume)
{
    SoundVoice& at400 = startedVoiceAt({400.0f, 0.0f});
    const VolumeAndPan sent400 = sentFor(bank, at400);
    EXPECT_EQ(sent400.pan, 1.0f);
    EXPECT_EQ(sent400.volume, static_cast<float>(2.0 - 160000.0 / 96000.0));
    EXPECT_NEAR(sent400.volume, 0.3333f, 1e-4);

    SoundVoice& at500 = startedVoiceAt({500.0f, 0.0f});
    const VolumeAndPan sent500 = sentFor(bank, at500);
    EXPECT_EQ(sent500.pan, 1.25f);
    EXPECT_NEAR(sent500.volume, -0.6042f, 1e-4);

    SoundVoice& left = startedVoiceAt({-600.0f, 0.0f});
    EXPECT_EQ(sentFor(bank, left).pan, -1.5f);
}

TEST_F(SoundBankTest, Offsets_AreRoundedToNearestWithTiesToEven)
{
    // 2.5 rounds to 2 and 3.5 to 4; half away from zero would give 3 and 4.
    EXPECT_EQ(sentFor(bank, startedVoiceAt({2.5f, 0.0f})).pan, 2.0f / 400.0f);
    EXPECT_EQ(sentFor(bank, startedVoiceAt({3.5f, 0.0f})).pan, 4.0f / 400.0f);
    EXPECT_EQ(sentFor(bank, startedVoiceAt({-2.5f, 0.0f})).pan, -2.0f / 400.0f);
    // A vertical offset lowers the volume without panning; 0.4 rounds away entirely.
    const VolumeAndPan below = sentFor(bank, startedVoiceAt({0.4f, 400.0f}));
    EXPECT_EQ(below.volume, static_cast<float>(2.0 - 160000.0 / 96000.0));
    EXPECT_TRUE(std::isnan(below.pan));
}

TEST_F(SoundBankTest, UnchangedVolumeAndPan_CauseNoLibraryCall)
{
    SoundVoice& voice = startedVoiceAt({100.0f, 30.0f});
    SOUND_UPDATE(bank);
    fbsound_fake::clearCalls();
    SOUND_UPDATE(bank);
    EXPECT_TRUE(callsOf("FBS_SET_SOUNDVOLUME").empty());
    EXPECT_TRUE(callsOf("FBS_SET_SOUNDPAN").empty());
    EXPECT_EQ(callsOf("FBS_GET_SOUNDLOOPS").size(), 1u);

    // Moving the listener by less than half a unit changes neither rounded offset.
    SOUND_SET_LISTENER(bank, {0.3f, -0.3f});
    SOUND_UPDATE(bank);
    EXPECT_TRUE(callsOf("FBS_SET_SOUNDVOLUME").empty());

    // A vertical move changes the volume alone.
    SOUND_SET_LISTENER(bank, {0.0f, 10.0f});
    const VolumeAndPan sent = sentFor(bank, voice);
    EXPECT_FALSE(std::isnan(sent.volume));
    EXPECT_TRUE(std::isnan(sent.pan));
}

TEST_F(SoundBankTest, Play_StartsAtTheNextUpdateWithItsLoopCountAndIsPlacedOneUpdateLater)
{
    SOUND_LOAD_WAV(bank, "w.wav");
    const int sound = SOUND_CREATE(bank, 0, 0, "THRUST");
    SOUND_SET_POSITION(bank, sound, {50.0f, 0.0f});
    SOUND_PLAY(bank, sound, 0);
    EXPECT_TRUE(callsOf("FBS_PLAY_SOUND").empty());
    EXPECT_TRUE(bank.sounds[sound].voices[0].playRequest);

    SOUND_UPDATE(bank);
    const auto plays = callsOf("FBS_PLAY_SOUND");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].numbers, (std::vector<int>{0, 0}));
    EXPECT_TRUE(callsOf("FBS_SET_SOUNDPAN").empty()) << "not playing yet when its loops were asked";
    EXPECT_FALSE(bank.sounds[sound].voices[0].playRequest);

    SOUND_UPDATE(bank);
    ASSERT_EQ(callsOf("FBS_SET_SOUNDPAN").size(), 1u);
    EXPECT_EQ(callsOf("FBS_SET_SOUNDPAN")[0].values[0], 50.0f / 400.0f);
}

TEST_F(SoundBankTest, ThreePlaysBeforeOneUpdate_StartOneVoiceAtTheLastPosition)
{
    SOUND_LOAD_WAV(bank, "blast.wav");
    const int explode = SOUND_CREATE(bank, 0, 9, "EXPLODE");
    for (float x : {10.0f, 20.0f, 30.0f}) {
        SOUND_SET_POSITION(bank, explode, {x, 0.0f});
        SOUND_PLAY(bank, explode, 1);
    }
    SOUND_UPDATE(bank);
    const auto plays = callsOf("FBS_PLAY_SOUND");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].numbers[0], bank.sounds[explode].voices[0].sound);
    EXPECT_EQ(bank.sounds[explode].voices[0].position, Vec2f(30.0f, 0.0f));

    // With voice 0 playing, the next play takes voice 1.
    SOUND_PLAY(bank, explode, 1);
    EXPECT_TRUE(bank.sounds[explode].voices[1].playRequest);
}

TEST_F(SoundBankTest, AllTwentyZapVoicesBusy_DropThePlayUntilOneIsFree)
{
    SOUND_LOAD_WAV(bank, "zap.wav");
    const int zap = SOUND_CREATE(bank, 0, 19, "ZAP");
    for (const SoundVoice& voice : bank.sounds[zap].voices) fbsound_fake::setLoopsLeft(voice.sound, 1);
    SOUND_PLAY(bank, zap, 1);
    SOUND_UPDATE(bank);
    EXPECT_TRUE(callsOf("FBS_PLAY_SOUND").empty());
    for (const SoundVoice& voice : bank.sounds[zap].voices) EXPECT_FALSE(voice.playRequest);

    fbsound_fake::setLoopsLeft(bank.sounds[zap].voices[7].sound, 0);
    SOUND_PLAY(bank, zap, 1);
    EXPECT_TRUE(bank.sounds[zap].voices[7].playRequest);
}

TEST_F(SoundBankTest, Follow_MinusOneMakesEveryVoiceFollowWhilePlaying)
{
    SOUND_LOAD_WAV(bank, "w.wav");
    const int sound = SOUND_CREATE(bank, 0, 3, "FOUR");
    Vec2f ship{100.0f, 0.0f};
    EXPECT_FALSE(SOUND_FOLLOW(bank.sounds[sound], nullptr, -1));
    EXPECT_FALSE(bank.sounds[sound].voices[0].follow);
    EXPECT_FALSE(SOUND_FOLLOW(bank.sounds[sound], &ship, 4));
    EXPECT_TRUE(SOUND_FOLLOW(bank.sounds[sound], &ship, -1));
    for (const SoundVoice& voice : bank.sounds[sound].voices) {
        EXPECT_TRUE(voice.follow);
        EXPECT_EQ(voice.followed, &ship);
    }

    SOUND_PLAY(bank, sound, 0);
    SOUND_UPDATE(bank);
    ship = {-200.0f, 0.0f};
    SOUND_UPDATE(bank);
    EXPECT_EQ(bank.sounds[sound].voices[0].position, ship);
    EXPECT_EQ(bank.sounds[sound].voices[0].pan, -0.5f);
    EXPECT_EQ(bank.sounds[sound].voices[1].position, Vec2f()) << "a free voice is not moved";

    const Vec2f other{1.0f, 2.0f};
    EXPECT_TRUE(SOUND_FOLLOW(bank.sounds[sound], &other, 2));
    EXPECT_EQ(bank.sounds[sound].voices[2].followed, &other);
    EXPECT_EQ(bank.sounds[sound].voices[3].followed, &ship);
}

TEST_F(SoundBankTest, Pause_CallsTheLibraryOnlyWhenTheStateChanges)
{
    SOUND_LOAD_WAV(bank, "shield.wav");
    const int shield = SOUND_CREATE(bank, 0, 0, "SHIELD");
    SOUND_PLAY(bank, shield, 0);
    SOUND_UPDATE(bank);
    const int handle = bank.sounds[shield].voices[0].sound;
    fbsound_fake::clearCalls();

    SOUND_SET_PAUSED(bank, shield, true, 0);
    EXPECT_EQ(callsOf("FBS_GET_SOUNDPAUSED").size(), 1u);
    ASSERT_EQ(callsOf("FBS_SET_SOUNDPAUSED").size(), 1u);
    EXPECT_EQ(callsOf("FBS_SET_SOUNDPAUSED")[0].numbers, (std::vector<int>{handle, 1}));
    EXPECT_TRUE(fbsound_fake::paused(handle));

    SOUND_SET_PAUSED(bank, shield, true, 0);
    EXPECT_EQ(callsOf("FBS_GET_SOUNDPAUSED").size(), 2u);
    EXPECT_EQ(callsOf("FBS_SET_SOUNDPAUSED").size(), 1u);

    SOUND_SET_PAUSED(bank, shield, false, 0);
    EXPECT_EQ(callsOf("FBS_SET_SOUNDPAUSED").size(), 2u);
    EXPECT_FALSE(fbsound_fake::paused(handle));
    EXPECT_GT(fbsound_fake::loopsLeft(handle), 0) << "a sound started with 0 loops keeps playing";
}

TEST_F(SoundBankTest, NumbersOutOfRange_AreIgnored)
{
    SOUND_LOAD_WAV(bank, "w.wav");
    SOUND_CREATE(bank, 0, 0, "ONE");
    fbsound_fake::clearCalls();
    SOUND_PLAY(bank, 1, 0);
    SOUND_PLAY(bank, -1, 0);
    SOUND_SET_POSITION(bank, 5, {1.0f, 1.0f});
    SOUND_SET_PAUSED(bank, 0, true, 1);
    SOUND_SET_PAUSED(bank, 0, true, -1);
    SOUND_PLAY_MUSIC(bank, 0);
    EXPECT_TRUE(fbsound_fake::calls().empty());
}

TEST_F(SoundBankTest, Music_PlaysItsWaveOnceAtFullVolumeCentred)
{
    EXPECT_EQ(SOUND_LOAD_MP3(bank, "tune.mp3"), 0);
    EXPECT_EQ(SOUND_LOAD_MP3(bank, "other.mp3"), 1);
    EXPECT_EQ(callsOf("FBS_LOAD_MP3FILE")[0].text, "tune.mp3|");
    SOUND_PLAY_MUSIC(bank, 1);
    EXPECT_EQ(bank.currentMusic, 1);
    const auto plays = callsOf("FBS_PLAY_WAVE");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].numbers, (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(plays[0].values, (std::vector<float>{1.0f, 1.0f, 0.0f}));
    EXPECT_EQ(names.str(), "tune.mp3\nother.mp3\n");
}

TEST_F(SoundBankTest, Close_EmptiesTheBankWithoutCallingTheLibrary)
{
    SOUND_LOAD_WAV(bank, "w.wav");
    SOUND_LOAD_MP3(bank, "m.mp3");
    SOUND_CREATE(bank, 0, 4, "FIVE");
    fbsound_fake::clearCalls();
    SOUND_CLOSE(bank);
    EXPECT_TRUE(fbsound_fake::calls().empty());
    EXPECT_TRUE(bank.waves.empty());
    EXPECT_TRUE(bank.sounds.empty());
    EXPECT_TRUE(bank.music.empty());
}
