// The sound library over SDL2_mixer, heard through SDL's disk audio driver, which
// writes the mix (16-bit stereo, interleaved) to a file in real time. Each test
// plays a short made-up wave and reads back what was written. Also: with no usable
// audio driver the library fails to start and every later call is harmless.
#include "platform/fbsound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;
constexpr int kSmallBuffer = 512; // about 12 ms, so the file follows the mix closely

void waitMs(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

fs::path tempPath(const std::string& name)
{
    return fs::temp_directory_path() / ("fbsound_mixer_" + std::to_string(getpid()) + "_" + name);
}

template <typename T> void put(std::ofstream& out, T value) { out.write(reinterpret_cast<const char*>(&value), sizeof value); }

// A mono 16-bit wave of a loud square tone lasting the given seconds.
void writeToneWave(const fs::path& path, double seconds)
{
    const uint32_t samples = static_cast<uint32_t>(seconds * kRate);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put<uint32_t>(out, 36 + samples * 2);
    out.write("WAVEfmt ", 8);
    put<uint32_t>(out, 16);
    put<uint16_t>(out, 1); // PCM
    put<uint16_t>(out, 1); // mono
    put<uint32_t>(out, kRate);
    put<uint32_t>(out, kRate * 2);
    put<uint16_t>(out, 2);
    put<uint16_t>(out, 16);
    out.write("data", 4);
    put<uint32_t>(out, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) put<int16_t>(out, (i / 50) % 2 ? 8000 : -8000);
}

struct Frames {
    std::vector<int16_t> left, right;
    bool anyLeft() const { return anyNonZero(left); }
    bool anyRight() const { return anyNonZero(right); }
    static bool anyNonZero(const std::vector<int16_t>& s)
    {
        for (int16_t v : s) {
            if (v != 0) return true;
        }
        return false;
    }
};

class MixerOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        outputFile = tempPath("out.raw");
        waveFile = tempPath("tone.wav");
        writeToneWave(waveFile, 0.15);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", outputFile.c_str(), 1);
        ASSERT_TRUE(FBS_INIT(kRate, 2, 3, kSmallBuffer, 0, 0)) << FBS_ERROR();
        ASSERT_TRUE(FBS_LOAD_WAVFILE(waveFile.string(), wave)) << FBS_ERROR();
    }
    void TearDown() override
    {
        FBS_EXIT();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        std::error_code ignored;
        fs::remove(outputFile, ignored);
        fs::remove(waveFile, ignored);
    }

    // Bytes written so far; the next read can start there.
    std::uintmax_t mark() const { return fs::file_size(outputFile); }

    Frames framesFrom(std::uintmax_t offset) const
    {
        std::ifstream in(outputFile, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        Frames frames;
        int16_t pair[2];
        while (in.read(reinterpret_cast<char*>(pair), sizeof pair)) {
            frames.left.push_back(pair[0]);
            frames.right.push_back(pair[1]);
        }
        return frames;
    }

    int newSound() const
    {
        int sound = -1;
        EXPECT_TRUE(FBS_CREATE_SOUND(wave, sound));
        return sound;
    }

    static int loopsLeft(int sound)
    {
        int loops = -1;
        FBS_GET_SOUNDLOOPS(sound, loops);
        return loops;
    }

    fs::path outputFile, waveFile;
    int wave = -1;
};

} // namespace

TEST_F(MixerOutput, PlayedSound_IsHeardAndFreesItsVoiceWhenDone)
{
    const int sound = newSound();
    EXPECT_EQ(loopsLeft(sound), 0);
    ASSERT_TRUE(FBS_PLAY_SOUND(sound, 1));
    EXPECT_GT(loopsLeft(sound), 0);
    waitMs(400);
    const Frames frames = framesFrom(0);
    EXPECT_TRUE(frames.anyLeft());
    EXPECT_TRUE(frames.anyRight());
    EXPECT_EQ(loopsLeft(sound), 0) << "a 0.15 s wave played once is over after 0.4 s";
}

TEST_F(MixerOutput, PausedLoopingSound_IsSilentAndResumes)
{
    const int sound = newSound();
    ASSERT_TRUE(FBS_PLAY_SOUND(sound, 0));
    ASSERT_TRUE(FBS_SET_SOUNDPAUSED(sound, true));
    bool paused = false;
    ASSERT_TRUE(FBS_GET_SOUNDPAUSED(sound, paused));
    EXPECT_TRUE(paused);
    waitMs(100); // whatever was mixed before the pause reaches the file
    const auto pausedFrom = mark();
    waitMs(250);
    EXPECT_GT(loopsLeft(sound), 0) << "a paused sound still counts as playing";
    const Frames silent = framesFrom(pausedFrom);
    EXPECT_GT(silent.left.size(), 2000u) << "the driver kept writing";
    EXPECT_FALSE(silent.anyLeft());
    EXPECT_FALSE(silent.anyRight());

    ASSERT_TRUE(FBS_SET_SOUNDPAUSED(sound, false));
    const auto resumedFrom = mark();
    waitMs(400); // longer than the wave: it must have looped to still be heard
    EXPECT_TRUE(framesFrom(resumedFrom).anyLeft());
    EXPECT_EQ(loopsLeft(sound), INT_MAX);
}

TEST_F(MixerOutput, PannedFullyLeft_IsSilentOnTheRight)
{
    const int left = newSound();
    ASSERT_TRUE(FBS_SET_SOUNDPAN(left, -3.0f)); // beyond -1 is clamped to full left
    ASSERT_TRUE(FBS_PLAY_SOUND(left, 1));
    waitMs(300);
    const Frames frames = framesFrom(0);
    EXPECT_TRUE(frames.anyLeft());
    EXPECT_FALSE(frames.anyRight());
}

TEST_F(MixerOutput, ZeroVolume_IsSilentAndKeptAcrossPlays)
{
    const int sound = newSound();
    ASSERT_TRUE(FBS_SET_SOUNDVOLUME(sound, 0.0f));
    ASSERT_TRUE(FBS_PLAY_SOUND(sound, 1));
    waitMs(250);
    ASSERT_TRUE(FBS_PLAY_SOUND(sound, 2));
    EXPECT_EQ(loopsLeft(sound), 2);
    waitMs(250);
    const Frames frames = framesFrom(0);
    EXPECT_FALSE(frames.anyLeft());
    EXPECT_FALSE(frames.anyRight());
}

TEST_F(MixerOutput, SoundsFromOneWave_PlayAndPauseIndependently)
{
    const int a = newSound();
    const int b = newSound();
    EXPECT_NE(a, b);
    ASSERT_TRUE(FBS_PLAY_SOUND(a, 0));
    ASSERT_TRUE(FBS_PLAY_SOUND(b, 0));
    ASSERT_TRUE(FBS_SET_SOUNDPAUSED(a, true));
    bool aPaused = false, bPaused = true;
    FBS_GET_SOUNDPAUSED(a, aPaused);
    FBS_GET_SOUNDPAUSED(b, bPaused);
    EXPECT_TRUE(aPaused);
    EXPECT_FALSE(bPaused);
    EXPECT_GT(loopsLeft(a), 0);
    EXPECT_GT(loopsLeft(b), 0);
}

TEST_F(MixerOutput, Waves_AreNumberedInLoadOrderEvenPastAFailedLoad)
{
    int missing = -1, next = -1;
    EXPECT_EQ(wave, 0);
    EXPECT_FALSE(FBS_LOAD_WAVFILE(tempPath("no_such.wav").string(), missing));
    EXPECT_FALSE(FBS_ERROR().empty());
    EXPECT_TRUE(FBS_LOAD_WAVFILE(waveFile.string(), next));
    EXPECT_EQ(missing, 1);
    EXPECT_EQ(next, 2);

    int silent = -1;
    ASSERT_TRUE(FBS_CREATE_SOUND(missing, silent));
    EXPECT_FALSE(FBS_PLAY_SOUND(silent, 1));
    EXPECT_EQ(loopsLeft(silent), 0);
    int none = -1;
    EXPECT_FALSE(FBS_CREATE_SOUND(3, none));
}

TEST(MixerWithoutDevice, InitFailsWithAReasonAndLaterCallsAreHarmless)
{
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    EXPECT_FALSE(FBS_INIT(kRate, 2, 3, 2048, 0, 0));
    EXPECT_FALSE(FBS_ERROR().empty());

    int wave = -1, sound = -1, loops = -1;
    bool paused = true;
    EXPECT_FALSE(FBS_LOAD_WAVFILE(SOURCE_DIR "/data/audio/effects/zap.wav", wave));
    EXPECT_EQ(wave, 0);
    EXPECT_TRUE(FBS_CREATE_SOUND(wave, sound));
    EXPECT_FALSE(FBS_PLAY_SOUND(sound, 0));
    EXPECT_TRUE(FBS_GET_SOUNDLOOPS(sound, loops));
    EXPECT_EQ(loops, 0);
    EXPECT_FALSE(FBS_SET_SOUNDPAUSED(sound, true));
    EXPECT_TRUE(FBS_GET_SOUNDPAUSED(sound, paused));
    EXPECT_FALSE(paused);
    FBS_SET_SOUNDVOLUME(sound, 1.0f);
    FBS_SET_SOUNDPAN(sound, 0.5f);
    EXPECT_FALSE(FBS_PLAY_WAVE(wave, 1, 1.0f, 1.0f, 0.0f, nullptr));
    EXPECT_FALSE(FBS_PLAY_SOUND(99, 1));
    FBS_EXIT();
    unsetenv("SDL_AUDIODRIVER");
}
