// The game's use of the sound bank on the recording library: what start-up loads and
// announces, the ship's two looping sounds, what a missing device or file says, which
// sound each event plays and where, and when the looping ones pause and resume.
#include "game/controls.h"
#include "platform/headless/fbsound_fake.h"
#include "game/game.h"
#include "game_play_fixture.h"
#include "platform/headless/headless.h"
#include "game/ship_life.h"
#include "game/weapons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

namespace {

// The rules' sounds as the library hears them: a play becomes FBS_PLAY_SOUND at the
// bank's next update, so each event is followed by one update and its calls read.
class GameSoundEvents : public GamePlay {
protected:
    void SetUp() override
    {
        fbsound_fake::reset();
        GamePlay::SetUp();
        SOUND_UPDATE(game.soundBank); // THRUST and SHIELD start looping
        fbsound_fake::clearCalls();
    }

    // Names of the sounds started since the last call, with the voice's position.
    std::vector<std::pair<std::string, Vec2f>> started()
    {
        SOUND_UPDATE(game.soundBank);
        std::vector<std::pair<std::string, Vec2f>> out;
        for (const fbsound_fake::Call& call : fbsound_fake::callsOf("FBS_PLAY_SOUND")) {
            for (const NamedSound& sound : game.soundBank.sounds) {
                for (const SoundVoice& voice : sound.voices) {
                    if (voice.sound == call.numbers[0] && call.numbers[1] == 1) out.emplace_back(sound.name, voice.position);
                }
            }
        }
        fbsound_fake::clearCalls();
        return out;
    }

    bool paused(int sound) const { return fbsound_fake::paused(game.soundBank.sounds[sound].voices[0].sound); }
};

using Started = std::vector<std::pair<std::string, Vec2f>>;

} // namespace

TEST_F(GameSoundEvents, EachEvent_PlaysItsOwnSoundOnceWhereItHappens)
{
    Player& player = game.player;
    const Vec2f ship = player.position;
    hold({scancode::W});
    step(0.02);
    applyControls(game);
    EXPECT_EQ(started(), (Started{{"ZAP", ship}})) << "fire";

    hold({scancode::SPACE});
    step(0.02);
    applyControls(game);
    EXPECT_EQ(started(), (Started{{"PING", ship}})) << "ping";

    game.camera.position = ship - Vec2f(320.0f, 240.0f);
    game.asteroids[0].position = ship + Vec2f(0.0f, 100.0f);
    player.pingRadius = 95.0f;
    step(0.02); // the ring passes 100
    sweepPing(game);
    EXPECT_EQ(started(), (Started{{"PING RETURN", game.asteroids[0].position}})) << "echo";

    game.asteroids[1].hit = true;
    game.asteroids[1].hitPoint = {60.0f, 45.0f};
    resolveHits(game);
    EXPECT_EQ(started(), (Started{{"EXPLODE", Vec2f(60.0f, 45.0f)}})) << "asteroid hit";

    player.hit = true;
    dieIfHit(game);
    EXPECT_EQ(started(), (Started{{"EXPLODE", ship}})) << "ship death";
}

TEST_F(GameSoundEvents, ShieldAndThrust_PauseAndResumeWithTheShipsState)
{
    // alive, shield flag, thrust level, hit -> THRUST paused, SHIELD paused
    struct Row {
        bool alive;
        int32_t flags;
        float thrustLevel;
        bool hit;
        bool thrustPaused, shieldPaused;
    };
    const Row rows[] = {
        {true, kShieldFlag, 1.0f, false, false, false}, {true, 0, 0.0f, false, true, true},
        {true, kShieldFlag, 0.0f, false, true, false},  {true, 0, 1.0f, false, false, true},
        {false, kShieldFlag, 1.0f, false, true, true},  {true, 0, 1.0f, true, true, true},
    };
    for (const Row& row : rows) {
        game.player.active = row.alive;
        game.player.flags = row.flags;
        game.player.thrustLevel = row.thrustLevel;
        game.player.hit = row.hit;
        updateShipSounds(game);
        thrustFlames(game);
        dieIfHit(game);
        EXPECT_EQ(paused(game.sounds.thrust), row.thrustPaused) << &row - rows;
        EXPECT_EQ(paused(game.sounds.shield), row.shieldPaused) << &row - rows;
    }
}
