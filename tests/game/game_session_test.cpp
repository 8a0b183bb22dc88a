// The play session on the headless backend: that it changes nothing while the game
// just plays, that a pause keeps the world as it was however long it lasts, what a
// paused game shows and plays, and how keys and controllers become the rules' keys.
#include "platform/headless/fbsound_fake.h"
#include "app/frame_hash.h"
#include "app/help_screen.h"
#include "app/pause_screen.h"
#include "game/challenge.h"
#include "game/game_session.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

namespace {

// Within one binade of doubles (1024..2048) for the whole run, pause included, so a
// clock read a minute later rounds every step exactly as it did a minute earlier.
constexpr double kStartClock = 1100.0;

// What a run leaves behind to compare: the picture and the ship's and clock's state.
struct Outcome {
    uint64_t hash = 0;
    double frameTime = 0.0;
    float x = 0, y = 0, angle = 0, fuel = 0, battery = 0;
    int score = 0;
    size_t asteroids = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome outcomeOf(const Game& game)
{
    const Player& p = game.player;
    return {frameHash(), game.frameTime, p.position.x, p.position.y, p.angle, p.fuel, p.battery, p.score,
            game.asteroids.size()};
}

// Frame i's keys and clock advance: turning, thrusting and firing in stretches, uneven
// steps and one two-second stall.
void prepareFrame(int i)
{
    headless::releaseAllKeys();
    if (i % 90 < 40) headless::setKey(scancode::UP, true);
    if (i % 70 > 50) headless::setKey(scancode::RIGHT, true);
    if (i % 50 < 10) headless::setKey(scancode::W, true);
    if (i == 120) headless::setKey(scancode::SPACE, true);
    headless::advanceTime(i == 150 ? 2.0 : 0.011 + 0.001 * (i % 17));
}

constexpr int kFrames = 200;
constexpr int kPauseAt = 60;

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        fbsound_fake::reset();
        headless::setTime(kStartClock);
        session.settings = defaultSettings();
    }
    void TearDown() override
    {
        endSession(session);
        endGame(game);
        headless::reset();
    }
    void start()
    {
        std::string error;
        ASSERT_TRUE(startPlaying(session, game, error)) << error;
    }
    // kFrames from a fresh start on the bare frame loop, no session: the reference.
    // Leaves the backend as SetUp does.
    static Outcome bareRun()
    {
        Game bare;
        std::string error;
        EXPECT_TRUE(startGame(bare, error)) << error;
        for (int i = 0; i < kFrames; ++i) {
            prepareFrame(i);
            EXPECT_TRUE(runGameFrame(bare));
        }
        const Outcome outcome = outcomeOf(bare);
        endGame(bare);
        headless::reset();
        fbsound_fake::reset();
        headless::setTime(kStartClock);
        return outcome;
    }
    static void pressAndRelease(const char* key)
    {
        headless::setKeyAt(KEY_BY_NAME(key), true);
        headless::setKeyAt(KEY_BY_NAME(key), false);
    }

    PlaySession session;
    Game game;
};

} // namespace

TEST_F(Session, PlayingWithoutPause_GivesExactlyTheBareLoopsFramesAndClock)
{
    const Outcome bare = bareRun();
    start();
    for (int i = 0; i < kFrames; ++i) {
        prepareFrame(i);
        ASSERT_TRUE(playTurn(session, game));
        // The game clock is the real clock, bit for bit, at every frame.
        ASSERT_EQ(std::memcmp(&game.frameTime, &session.lastReal, sizeof(double)), 0) << i;
    }
    EXPECT_EQ(outcomeOf(game), bare);
}

TEST_F(Session, PausedForAMinute_ResumesIntoTheSameWorldAsNoPauseWithEveryVoiceBackAsItWas)
{
    const Outcome unpaused = bareRun();
    start();
    // Frame kPauseAt - 1 holds no thrust, so the rules have paused THRUST; the shield
    // that every level starts with still sounds.
    const int thrustSound = game.soundBank.sounds[game.sounds.thrust].voices[0].sound;
    const int shieldSound = game.soundBank.sounds[game.sounds.shield].voices[0].sound;
    const auto pauseCalls = [](int paused) {
        std::set<int> sounds;
        for (const auto& call : fbsound_fake::callsOf("FBS_SET_SOUNDPAUSED")) {
            if (call.numbers[1] == paused) sounds.insert(call.numbers[0]);
        }
        fbsound_fake::clearCalls();
        return sounds;
    };
    for (int i = 0; i < kFrames; ++i) {
        prepareFrame(i);
        if (i == kPauseAt) {
            fbsound_fake::clearCalls();
            pressAndRelease("P");
            ASSERT_TRUE(playTurn(session, game));
            ASSERT_TRUE(session.paused);
            const std::set<int> paused = pauseCalls(1);
            EXPECT_TRUE(paused.contains(shieldSound));
            EXPECT_FALSE(paused.contains(thrustSound));
            const double pausedAt = game.frameTime;
            for (int wait = 0; wait < 3; ++wait) {
                headless::advanceTime(20.0);
                ASSERT_TRUE(playTurn(session, game));
            }
            EXPECT_EQ(game.frameTime, pausedAt); // no frame ran
            pressAndRelease("P");
            ASSERT_TRUE(playTurn(session, game)); // resumes and plays frame kPauseAt
            ASSERT_FALSE(session.paused);
            EXPECT_EQ(pauseCalls(0), paused);
            EXPECT_TRUE(fbsound_fake::paused(thrustSound));
            continue;
        }
        ASSERT_TRUE(playTurn(session, game));
    }
    EXPECT_EQ(outcomeOf(game), unpaused);
}

TEST_F(Session, OptionsOverThePause_ApplyAtOnceTakeEscapeAndResumeIntoTheSameWorld)
{
    const Outcome unpaused = bareRun();
    start();
    const auto press = [this](const char* key) {
        pressAndRelease(key);
        ASSERT_TRUE(playTurn(session, game)) << key;
    };
    for (int i = 0; i < kFrames; ++i) {
        prepareFrame(i);
        if (i != kPauseAt) {
            ASSERT_TRUE(playTurn(session, game));
            continue;
        }
        session.settingsFile = "/proc/no such folder/settings.ini";
        press("P");
        press("O");
        ASSERT_TRUE(session.options.open);
        EXPECT_EQ(headless::lastMouseSet().visibility, 1) << "the pointer shows while paused";
        fbsound_fake::clearCalls();
        for (int step = 0; step < 3; ++step) press("Left");
        EXPECT_EQ(session.settings.volume, 70);
        const auto volumes = fbsound_fake::callsOf("FBS_SET_MASTERVOLUME");
        ASSERT_EQ(volumes.size(), 3u);
        EXPECT_FLOAT_EQ(volumes.back().values[0], 0.7f);
        EXPECT_EQ(fbsound_fake::callsOf("FBS_PLAY_SOUND").size(), 3u) << "a sample at each new volume";
        press("Down");
        press("Down");
        press("Return");
        EXPECT_TRUE(headless::windowMode().second) << "fullscreen at once";
        // The volume's ">": "< 70 >" from column 22 of the 56 centred on the screen.
        const int volumeRight = (640 - 56 * 8) / 2 + 27 * 8 + 4, volumeRow = (480 - 11 * 12) / 2 + 2 * 12 + 4;
        headless::setMouse(volumeRight, volumeRow, MOUSE_LEFT);
        headless::setMouse(volumeRight, volumeRow, 0);
        ASSERT_TRUE(playTurn(session, game));
        EXPECT_EQ(session.settings.volume, 80) << "a click on the arrow";
        headless::setKeyAt(KEY_BY_NAME("Escape"), true);
        for (int held = 0; held < 3; ++held) {
            ASSERT_TRUE(playTurn(session, game)) << "the Escape that leaves the options does not quit";
        }
        headless::setKeyAt(KEY_BY_NAME("Escape"), false);
        ASSERT_TRUE(playTurn(session, game));
        EXPECT_FALSE(session.options.open);
        EXPECT_NE(session.notice.picture, nullptr) << "the settings file that cannot be written is said";
        EXPECT_EQ(session.settings.volume, 80) << "and the options stay for this run";
        ASSERT_TRUE(session.paused);
        // A controller: A on the pause screen's Options line, B back.
        for (const int button : {pad::A, pad::B}) {
            PadState pads;
            pads.pressed = 1u << button;
            headless::setPads(pads);
            ASSERT_TRUE(playTurn(session, game));
            headless::setPads(PadState{});
            EXPECT_EQ(session.options.open, button == pad::A);
        }
        pressAndRelease("P");
        ASSERT_TRUE(playTurn(session, game)); // resumes and plays frame kPauseAt
        EXPECT_EQ(headless::lastMouseSet().visibility, 0) << "and is hidden again in play";
    }
    EXPECT_EQ(outcomeOf(game), unpaused);
}

// A new run or a demo watched starts another game in the open window: the window
// stays as the player switched it, whatever the settings say.
TEST_F(Session, AnotherGameInTheOpenWindow_KeepsItsSizeAndFullscreen)
{
    start();
    SCREEN_WINDOW_MODE(2, true);
    endSession(session);
    releaseGame(game);
    session = sessionForSamePlayer(session);
    start();
    EXPECT_EQ(headless::windowMode(), std::make_pair(2, true));
}

TEST_F(Session, FocusLost_PausesShowingTheLastFrameDimmedWithTheMessageCentred)
{
    start();
    for (int i = 0; i < 5; ++i) {
        prepareFrame(i);
        ASSERT_TRUE(playTurn(session, game));
    }
    const std::vector<uint32_t> last(reinterpret_cast<const uint32_t*>(SCREEN_POINTER()),
                                     reinterpret_cast<const uint32_t*>(SCREEN_POINTER()) + 640 * 480);
    headless::loseFocus();
    ASSERT_TRUE(playTurn(session, game));
    ASSERT_TRUE(session.paused);
    // "PAUSED - P resume - O options - Escape quit": 43 cells of 8 pixels, centred;
    // "> Options" three rows below it.
    const auto inText = [](int x, int y, int cells, int top) {
        const int left = (640 - cells * 8) / 2;
        return x >= left && x < left + cells * 8 && y >= top && y < top + 8;
    };
    const int top = (480 - 8) / 2;
    EXPECT_EQ(pauseMessage(session.settings), "PAUSED - P resume - O options - Escape quit");
    int lit = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint32_t shown = reinterpret_cast<const uint32_t*>(SCREEN_POINTER())[y * 640 + x];
            if ((inText(x, y, 43, top) && shown == 0xFFFFFFFF) || (inText(x, y, 9, top + 24) && shown == 0xFFFFE040)) {
                ++lit;
                continue;
            }
            ASSERT_EQ(shown, ((last[y * 640 + x] >> 1) & 0x7F7F7Fu) | 0xFF000000u) << x << "," << y;
        }
    }
    EXPECT_GT(lit, 100);
    // Regaining the focus does not resume; only pause does.
    headless::advanceTime(1.0);
    ASSERT_TRUE(playTurn(session, game));
    EXPECT_TRUE(session.paused);
    pressAndRelease("Pause");
    ASSERT_TRUE(playTurn(session, game));
    EXPECT_FALSE(session.paused);
}

TEST_F(Session, HelpKey_PausesOverTheKeysAndF1POrEscapeGoesBackToTheSameWorld)
{
    const Outcome unpaused = bareRun();
    start();
    const auto litPixels = [] {
        const auto* screen = reinterpret_cast<const uint32_t*>(SCREEN_POINTER());
        return std::count(screen, screen + 640 * 480, 0xFFFFFFFFu);
    };
    // Each closing key in turn: F1, P, and Escape, held on for a few turns.
    const char* closers[] = {"F1", "P", "Escape"};
    for (int i = 0; i < kFrames; ++i) {
        prepareFrame(i);
        if (i % 60 != 30) {
            ASSERT_TRUE(playTurn(session, game));
            continue;
        }
        const char* closer = closers[i / 60];
        SCOPED_TRACE(closer);
        pressAndRelease("F1");
        ASSERT_TRUE(playTurn(session, game));
        ASSERT_TRUE(session.paused && session.help.shown);
        EXPECT_GT(litPixels(), 2000); // a table of white text over the dimmed picture
        const double pausedAt = game.frameTime;
        headless::advanceTime(5.0);
        ASSERT_TRUE(playTurn(session, game));
        if (std::string(closer) == "Escape") {
            headless::setKeyAt(KEY_BY_NAME("Escape"), true);
            for (int held = 0; held < 3; ++held) {
                ASSERT_TRUE(playTurn(session, game)) << "the Escape that closes the help does not quit";
                ASSERT_TRUE(session.paused) << "nor does the game run while it is held";
                ASSERT_FALSE(session.help.shown);
            }
            headless::setKeyAt(KEY_BY_NAME("Escape"), false);
        } else {
            pressAndRelease(closer);
        }
        EXPECT_EQ(game.frameTime, pausedAt);
        ASSERT_TRUE(playTurn(session, game)); // closes the help and plays frame i
        ASSERT_FALSE(session.paused);
    }
    EXPECT_EQ(outcomeOf(game), unpaused);
}

TEST_F(Session, HelpOpenedWhilePaused_ClosesBackToThePauseScreen)
{
    start();
    prepareFrame(0);
    ASSERT_TRUE(playTurn(session, game));
    pressAndRelease("P");
    ASSERT_TRUE(playTurn(session, game));
    const std::vector<uint32_t> pauseScreen(reinterpret_cast<const uint32_t*>(SCREEN_POINTER()),
                                            reinterpret_cast<const uint32_t*>(SCREEN_POINTER()) + 640 * 480);
    pressAndRelease("F1");
    ASSERT_TRUE(playTurn(session, game));
    ASSERT_TRUE(session.help.shown);
    pressAndRelease("F1");
    ASSERT_TRUE(playTurn(session, game));
    EXPECT_TRUE(session.paused);
    EXPECT_FALSE(session.help.shown);
    EXPECT_TRUE(std::equal(pauseScreen.begin(), pauseScreen.end(), reinterpret_cast<const uint32_t*>(SCREEN_POINTER())));
}

TEST(SessionHelp, TableShowsTheKeysAndButtonsAsBoundAndFitsTheScreen)
{
    headless::reset();
    Settings settings = defaultSettings();
    std::vector<std::string> warnings;
    applySettingsText(settings,
                      "fire = Left Ctrl, Right Ctrl\npad_fire = rightshoulder\nhelp =\npause = Pause\n"
                      "ping = A, B, C, D, E, F, G, H, I, J, K, L, M, N, O\n", "test", warnings);
    ASSERT_EQ(warnings, std::vector<std::string>{});
    const std::vector<std::string> lines = gameHelpLines(settings);
    const auto rowOf = [&lines](const std::string& action) {
        const auto row = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line == action || line.starts_with(action + "  ");
        });
        return row == lines.end() ? std::string() : *row;
    };
    EXPECT_EQ(rowOf("fire"), "fire          Left Ctrl, Right Ctrl    right shoulder");
    EXPECT_EQ(rowOf("thrust"), "thrust        Up, Keypad 8             left stick up, d-pad up, right trigger");
    EXPECT_EQ(rowOf("turn left"), "turn left     Left, Keypad 4           left stick left, d-pad left");
    EXPECT_EQ(rowOf("zoom in"), "zoom in       PageUp, Keypad 9") << "its shoulder went to fire";
    EXPECT_EQ(rowOf("quit"), "quit          Escape                   Back");
    EXPECT_EQ(rowOf("these keys"), "these keys");
    EXPECT_NE(rowOf("sonar ping").find("..."), std::string::npos) << rowOf("sonar ping");
    EXPECT_EQ(lines.back(), "Pause or Escape closes this");
    for (const std::string& line : lines) EXPECT_LE(line.size(), 80u) << line;
    EXPECT_EQ(gameHelpLines(defaultSettings()).back(), "F1, P or Escape closes this");
}

TEST_F(Session, EscapeQuitsWhilePaused)
{
    start();
    headless::loseFocus();
    ASSERT_TRUE(playTurn(session, game));
    headless::setKey(scancode::ESCAPE, true);
    EXPECT_FALSE(playTurn(session, game));
}

TEST(SessionInput, KeysAndControllerInputsReachTheRulesAsTheirActionsKeys)
{
    struct Case {
        const char* what;
        const char* key; // held, by SDL's name; null for none
        PadState pads;
        std::vector<int> ruleKeys;
    };
    const auto button = [](int b) { PadState p; p.held = 1u << b; return p; };
    const auto axis = [](int a, int value) { PadState p; p.axes[a] = value; return p; };
    const Case cases[] = {
        {"remapped fire key", "Left Ctrl", {}, {scancode::W}},
        {"fire's old key, now unbound", "W", {}, {}},
        {"keypad twin of Up", "Keypad 8", {}, {scancode::UP}},
        {"A button", nullptr, button(pad::A), {scancode::W}},
        {"d-pad down", nullptr, button(pad::DPAD_DOWN), {scancode::DOWN}},
        {"back quits", nullptr, button(pad::BACK), {scancode::ESCAPE}},
        {"stick pushed left", nullptr, axis(pad::LEFT_X, -20000), {scancode::LEFT}},
        {"stick resting off centre", nullptr, axis(pad::LEFT_X, -kPadDeadZone), {}},
        {"stick pushed up", nullptr, axis(pad::LEFT_Y, -32768), {scancode::UP}},
        {"right trigger", nullptr, axis(pad::RIGHT_TRIGGER, 32767), {scancode::UP}},
        {"stick and key together", "S", axis(pad::LEFT_X, 9000), {scancode::S, scancode::RIGHT}},
    };
    headless::reset();
    PlaySession session;
    session.settings = defaultSettings();
    std::vector<std::string> warnings;
    applySettingsText(session.settings, "fire = Left Ctrl\n", "test", warnings);
    beginSession(session);
    SoundBank noSounds;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::releaseAllKeys();
        if (c.key) headless::setKeyAt(KEY_BY_NAME(c.key), true);
        headless::setPads(c.pads);
        std::vector<int> seen;
        ASSERT_TRUE(stepSession(session, noSounds, [&seen] {
            for (int code = 0; code < 128; ++code) {
                if (code != scancode::ESCAPE && KEY_DOWN(code)) seen.push_back(code);
            }
            if (KEY_DOWN(scancode::ESCAPE)) seen.push_back(scancode::ESCAPE);
            return true;
        }));
        EXPECT_EQ(seen, c.ruleKeys);
    }
    endSession(session);
    headless::reset();
}

TEST(SessionSeed, SameSeedAtAnotherClock_BuildsTheSameField)
{
    std::vector<Vec2f> fields[2];
    for (int run = 0; run < 2; ++run) {
        headless::reset();
        headless::setTime(run == 0 ? 5.0 : 777.0);
        Game game;
        std::string error;
        ASSERT_TRUE(startGame(game, error, 42.0)) << error;
        for (const Entity& asteroid : game.asteroids) fields[run].push_back(asteroid.position);
        fields[run].push_back(game.player.position);
        endGame(game);
    }
    headless::reset();
    EXPECT_EQ(fields[0], fields[1]);
}

TEST(SessionShake, ShakeOff_KeepsTheViewStillButDrawsTheSameNumbers)
{
    Camera shaken, still;
    still.shakeStrength = 0.0f;
    RANDOM_SEED(3.0);
    shaken.SHAKE(5.0f, 2.0f);
    const double next = RANDOM_UNIT();
    RANDOM_SEED(3.0);
    still.SHAKE(5.0f, 2.0f);
    EXPECT_EQ(RANDOM_UNIT(), next);
    EXPECT_NE(shaken.position, Vec2f{});
    EXPECT_EQ(still.position, Vec2f{});
}

// A challenge's world after its steps is the same whatever the display's rate: the
// keys change in half-second stretches, 10 ms after an even step is due, so that every
// rate (30 shown frames a second: two steps a frame) reads each step's keys alike.
TEST_F(Session, ChallengeAt30Or60Or144FramesASecond_PlaysTheSameStepsIntoTheSameWorld)
{
    constexpr int kSteps = 600;
    const std::vector<int> stretchKeys[] = {{scancode::UP}, {scancode::LEFT, scancode::W}, {scancode::SPACE},
                                            {scancode::RIGHT, scancode::W, scancode::UP}};
    std::vector<Outcome> outcomes;
    std::vector<int> shownFrames;
    for (const int rate : {30, 60, 144}) {
        SCOPED_TRACE(rate);
        std::string error;
        ASSERT_TRUE(startChallenge(session, game, {2026, 12, 1}, kSteps, error)) << error;
        const double started = REAL_SECONDS();
        const int shownBefore = headless::presentedFrames();
        // Each turn at its frame's time: the frame's own sleep (which moves this clock) is
        // part of the frame's time, as a display's refresh would include it.
        for (int turn = 1; !stepsUsedUp(session); ++turn) {
            const double elapsed = double(turn) / rate;
            headless::releaseAllKeys();
            const int stretch = int(std::floor(elapsed * 2.0 - 0.02));
            for (int key : stretchKeys[(stretch + 4) % 4]) headless::setKey(key, true);
            headless::setTime(started + elapsed);
            ASSERT_TRUE(playTurn(session, game));
        }
        outcomes.push_back(outcomeOf(game));
        shownFrames.push_back(headless::presentedFrames() - shownBefore);
        endSession(session);
        endGame(game);
    }
    EXPECT_EQ(outcomes[0], outcomes[1]);
    EXPECT_EQ(outcomes[2], outcomes[1]);
    EXPECT_GT(outcomes[1].score, 0) << "the keys played";
    EXPECT_EQ(shownFrames[0], kSteps / 2) << "two steps a shown frame";
    EXPECT_EQ(shownFrames[2], kSteps) << "a frame with no step due shows nothing new";
}

TEST_F(Session, ChallengeAfterAHitchCatchesUpAQuarterSecondAndAPauseDoesNotCount)
{
    std::string error;
    ASSERT_TRUE(startChallenge(session, game, {2026, 12, 1}, 600, error)) << error;
    const auto turnAfter = [&](double seconds) {
        headless::advanceTime(seconds);
        EXPECT_TRUE(playTurn(session, game));
        return session.fixedSteps->played;
    };
    EXPECT_EQ(turnAfter(2.0), 15) << "a two-second hitch";
    EXPECT_EQ(turnAfter(1.0 / 60.0), 16);
    pressAndRelease("P");
    EXPECT_EQ(turnAfter(0.0), 16);
    EXPECT_TRUE(session.paused);
    EXPECT_EQ(turnAfter(60.0), 16) << "paused";
    pressAndRelease("P");
    EXPECT_EQ(turnAfter(0.0), 16);
    EXPECT_FALSE(session.paused);
    EXPECT_EQ(turnAfter(0.1), 22) << "the minute paused is not played";
}
