// The game's use of the sound bank on the recording library: what start-up loads and
// announces, the ship's two looping sounds, and what a missing device or file says.
#include "fbsound_fake.h"
#include "game.h"
#include "headless.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class GameSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        fbsound_fake::reset();
    }
    void TearDown() override
    {
        endGame(game);
        headless::reset();
        fbsound_fake::reset();
    }
    void start()
    {
        std::string error;
        ASSERT_TRUE(startGame(game, error)) << error;
    }

    Game game;
};

} // namespace

TEST_F(GameSound, StartUp_AnnouncesSixFilesThenSixSoundsAndNothingElse)
{
    testing::internal::CaptureStdout();
    start();
    runGameFrame(game);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "data/audio/effects/thrust.wav\ndata/audio/effects/asstroblast.wav\ndata/audio/effects/zap.wav\n"
              "data/audio/effects/ping.wav\ndata/audio/effects/ping_return.wav\ndata/audio/effects/shield.wav\n"
              "THRUST\nEXPLODE\nZAP\nPING\nPING RETURN\nSHIELD\n");
    const GameSounds& s = game.sounds;
    EXPECT_EQ((std::vector<int>{s.thrust, s.explode, s.zap, s.ping, s.pingReturn, s.shield}),
              (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(game.soundBank.sounds[s.zap].voices.size(), 20u);
    EXPECT_EQ(game.soundBank.sounds[s.pingReturn].voices.size(), 10u);
}

TEST_F(GameSound, ShipSounds_LoopForEverFromTheShipsPosition)
{
    start();
    runGameFrame(game); // a play starts at the bank's next update
    const auto plays = fbsound_fake::callsOf("FBS_PLAY_SOUND");
    ASSERT_EQ(plays.size(), 2u);
    const int thrustSound = game.soundBank.sounds[game.sounds.thrust].voices[0].sound;
    const int shieldSound = game.soundBank.sounds[game.sounds.shield].voices[0].sound;
    EXPECT_EQ(plays[0].numbers, (std::vector<int>{thrustSound, 0}));
    EXPECT_EQ(plays[1].numbers, (std::vector<int>{shieldSound, 0}));

    game.player.position = {123.0f, 45.0f};
    runGameFrame(game);
    EXPECT_EQ(game.soundBank.sounds[game.sounds.thrust].voices[0].position, game.player.position);
    EXPECT_EQ(game.soundBank.sounds[game.sounds.shield].voices[0].position, game.player.position);
}

TEST_F(GameSound, Listener_IsTheWorldPointAtTheScreensCentre)
{
    start();
    runGameFrame(game);
    const Camera& c = game.camera;
    EXPECT_EQ(game.soundBank.listener, (c.position + Vec2f{320.0f, 240.0f}) / c.zoom);
}

TEST_F(GameSound, NoDevice_OneWarningAndTheGameRuns)
{
    fbsound_fake::failInit("no audio device");
    testing::internal::CaptureStderr();
    start();
    EXPECT_TRUE(runGameFrame(game));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "game: playing without sound: no audio device\n");
}

TEST_F(GameSound, BrokenWave_NamedOnceOnStandardError)
{
    fbsound_fake::failLoad("data/audio/effects/zap.wav");
    testing::internal::CaptureStderr();
    start();
    EXPECT_TRUE(runGameFrame(game));
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_NE(stderrText.find("data/audio/effects/zap.wav"), std::string::npos) << stderrText;
    EXPECT_EQ(std::count(stderrText.begin(), stderrText.end(), '\n'), 1) << stderrText;
}
