// The golden demos under tests/data/demos, replayed headlessly through the runner's
// own turn: each must end exactly as recorded (state and picture), and must really
// show what its name promises, watched frame by frame. They are re-recorded only
// for a deliberate change of the game's behaviour (tests/data/demos/record.sh).
#include "platform/headless/fbsound_fake.h"
#include "game/challenge.h"
#include "game/game_demo.h"
#include "game/game_session.h"
#include "platform/headless/headless.h"
#include "replay/headless_turn.h"
#include "space/world_size.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// What a replay showed, frame by frame.
struct Seen {
    int wraps = 0; // the ship crossed the world's edge (not by a jump)
    int fragmentsDestroyed = 0;
    int deaths = 0;
    int respawns = 0;
    int shieldsRaised = 0; // by the player, not the shield a level or a respawn gives
    int shieldPieces = 0;  // frames that drew the shield's pieces
    int sights = 0;        // frames with the laser sight on
    int pings = 0;         // frames with a sweep expanding
    int echoes = 0;        // frames with echo markers
    int zoomsIn = 0;       // frames whose zoom key made the view larger
    int zoomsOut = 0;
    int levelAtStart = 0;
};

int activeFragments(const Game& game)
{
    return static_cast<int>(std::count_if(game.asteroids.begin(), game.asteroids.end(),
                                          [](const Entity& asteroid) { return asteroid.active && asteroid.fragment; }));
}

bool anyEffect(const Game& game, int32_t kind)
{
    return std::any_of(game.effects.slots.begin(), game.effects.slots.end(),
                       [kind](const Effect& effect) { return effect.active && effect.kind == kind; });
}

// The game before a frame, as far as watching it needs.
struct Before {
    Player player;
    float zoom = 0.0f;
    int fragments = 0;

    explicit Before(const Game& game) : player(game.player), zoom(game.camera.zoom), fragments(activeFragments(game)) {}
};

void watch(const Before& was, const Game& game, const ActionSet& held, Seen& seen)
{
    const Player& player = game.player;
    seen.deaths += was.player.active && !player.active;
    seen.respawns += !was.player.active && player.active;
    const bool crossed = std::fabs(player.position.x - was.player.position.x) > WORLD_W / 2.0f ||
                         std::fabs(player.position.y - was.player.position.y) > WORLD_H / 2.0f;
    seen.wraps += was.player.active && player.active && !held[bit(Action::jump)] && crossed;
    if (player.levelNumber == was.player.levelNumber) {
        seen.fragmentsDestroyed += std::max(0, was.fragments - activeFragments(game));
    }
    seen.shieldsRaised += held[bit(Action::shield)] && player.shieldEndTime > was.player.shieldEndTime;
    seen.shieldPieces += anyEffect(game, EFFECT_SEGMENT);
    seen.sights += (player.flags & kLaserSightFlag) != 0;
    seen.pings += player.pingState == -1;
    seen.echoes += anyEffect(game, EFFECT_RING);
    seen.zoomsIn += held[bit(Action::zoomIn)] && game.camera.zoom > was.zoom;
    seen.zoomsOut += held[bit(Action::zoomOut)] && game.camera.zoom < was.zoom;
}

struct Replayed {
    std::string challengeProblem; // "none" for free play
    ReplayVerdict verdict;
    DemoEnd end;
    Seen seen;
};

// As `runner --replay` plays it: the demo's start, then the runner's turns to its end;
// or as the server judges it, drawing its last frame only.
Replayed replay(const std::string& name, bool lastFrameOnly = false)
{
    Replayed result;
    Demo demo;
    std::string error;
    const std::string path = std::string(SOURCE_DIR) + "/tests/data/demos/" + name + ".demo";
    if (!readDemoFile(path, demo, error)) {
        ADD_FAILURE() << error;
        return result;
    }
    result.challengeProblem = demo.start.challenge ? challengeProblem(demo) : "none";
    headless::reset();
    fbsound_fake::reset();
    Game game;
    PlaySession session;
    session.settings = defaultSettings();
    if (!startReplaying(session, game, std::move(demo), error)) {
        ADD_FAILURE() << error;
        return result;
    }
    result.seen.levelAtStart = levelAboutToPlay(game);
    for (bool running = true; running;) {
        const Before was(game);
        const size_t played = session.replay->played;
        running = lastFrameOnly ? playReplayTurnDrawingLastFrame(session, game) : playHeadlessTurn(session, game);
        if (session.replay->played > played) watch(was, game, session.replay->demo.frames[played].held, result.seen);
    }
    result.end = gameEnd(session, game);
    result.verdict = replayVerdict(session, result.end);
    endSession(session);
    endGame(game);
    headless::reset();
    return result;
}

} // namespace

// What a demo must show, beyond ending as recorded.
enum Claim : unsigned {
    kWraps = 1,         // crosses the world's edge
    kFragments = 2,     // destroys fragments of split asteroids
    kNextLevel = 4,     // starts at level 1 and ends at level 2
    kDiesAndRespawns = 8,
    kShieldSightPing = 16, // raises the shield (and draws it), turns the sight on, pings and gets echoes
    kZooms = 32,           // zooms in and out with the keys
    kChallenge = 64,       // a well-formed challenge: its day's field, 10,800 steps of 1/60 s
};

struct GoldenDemo {
    const char* name; // tests/data/demos/NAME.demo; its README says what each is
    int32_t score;
    int32_t level;
    uint64_t frameHash;
    unsigned claims;
};

// Pinned here as well as in the files, so that a demo recorded over by mistake fails too.
constexpr GoldenDemo kGoldenDemos[] = {
    {"fly_and_wrap", 0, 1, 0x47e2c8c9d4de982bull, kWraps},
    {"shoot_to_fragments", 4500, 1, 0xd04c9872bb0e42ebull, kFragments},
    {"clear_level_1", 8250, 2, 0x1a5cd2d31bd214deull, kFragments | kNextLevel},
    {"die_and_respawn", 0, 1, 0xaa4cf191ce2cc463ull, kDiesAndRespawns},
    {"shield_sight_ping", 0, 1, 0x96a07ed60850fdd0ull, kShieldSightPing},
    {"zoom_in_and_out", 0, 1, 0x831c9ce03da46fe7ull, kZooms},
    {"challenge_2026_12_01", 1775, 1, 0x3f9963b583883fb4ull, kChallenge | kFragments},
};

TEST(GoldenDemos, ReplayExactlyAndShowWhatTheirNamesSay)
{
    for (const GoldenDemo& golden : kGoldenDemos) {
        SCOPED_TRACE(golden.name);
        const Replayed replayed = replay(golden.name);
        EXPECT_EQ(replayed.verdict.status, 0) << replayed.verdict.message;
        EXPECT_EQ(replayed.end.score, golden.score);
        EXPECT_EQ(replayed.end.level, golden.level);
        EXPECT_EQ(replayed.end.frameHash, golden.frameHash) << std::hex << replayed.end.frameHash;

        EXPECT_EQ(replayed.challengeProblem, golden.claims & kChallenge ? "" : "none");
        const Seen& seen = replayed.seen;
        if (golden.claims & kWraps) {
            EXPECT_GT(seen.wraps, 0);
        }
        if (golden.claims & kFragments) {
            EXPECT_GT(seen.fragmentsDestroyed, 0);
        }
        if (golden.claims & kNextLevel) {
            EXPECT_EQ(seen.levelAtStart, 1);
        }
        if (golden.claims & kDiesAndRespawns) {
            EXPECT_GT(seen.deaths, 0);
            EXPECT_GT(seen.respawns, 0);
        }
        if (golden.claims & kShieldSightPing) {
            EXPECT_GT(seen.shieldsRaised, 0);
            EXPECT_GT(seen.shieldPieces, 0);
            EXPECT_GT(seen.sights, 0);
            EXPECT_GT(seen.pings, 0);
            EXPECT_GT(seen.echoes, 0);
        }
        if (golden.claims & kZooms) {
            EXPECT_GT(seen.zoomsIn, 0);
            EXPECT_GT(seen.zoomsOut, 0);
        }
    }
}

// Every frame starts from a clear screen and nothing the drawing works out is lost
// with its pixels, so the last picture and the end are the same.
TEST(GoldenDemos, EndTheSameWhenOnlyTheLastFrameIsDrawn)
{
    for (const GoldenDemo& golden : kGoldenDemos) {
        SCOPED_TRACE(golden.name);
        const Replayed replayed = replay(golden.name, true);
        EXPECT_EQ(replayed.verdict.status, 0) << replayed.verdict.message;
        EXPECT_EQ(replayed.end.score, golden.score);
        EXPECT_EQ(replayed.end.level, golden.level);
        EXPECT_EQ(replayed.end.frameHash, golden.frameHash) << std::hex << replayed.end.frameHash;
    }
}

TEST(GoldenDemos, AChangedChallengeDemoIsNamedNoChallengeResultWithTheReason)
{
    Demo golden;
    std::string error;
    ASSERT_TRUE(readDemoFile(std::string(SOURCE_DIR) + "/tests/data/demos/challenge_2026_12_01.demo", golden, error))
        << error;
    const struct {
        const char* problem;
        void (*change)(Demo&);
    } cases[] = {
        {"", [](Demo&) {}},
        {"it is free play, not a challenge", [](Demo& demo) { demo.start.challenge.reset(); }},
        {"it is a shortened test run", [](Demo& demo) { demo.start.challenge->shortened = true; }},
        {"it was played under rules version 2, these are version 1", [](Demo& demo) { demo.start.challenge->rulesVersion = 2; }},
        {"it does not start at its day's clock", [](Demo& demo) { demo.start.challenge->day.day = 2; }},
        {"it does not start at its day's clock", [](Demo& demo) { demo.start.seed += 1.0; }},
        {"it starts at level 2, not 1", [](Demo& demo) { demo.start.level = 2; }},
        {"it does not fly the built-in ship", [](Demo& demo) { demo.start.ship[1].texEnd.y += 1.0f; }},
        {"it does not fly the built-in ship", [](Demo& demo) { demo.start.challenge->builtinShip = false; }},
        {"it has 10799 steps, not 10800", [](Demo& demo) { demo.frames.pop_back(); }},
        {"step 5 is not exactly 1/60 s", [](Demo& demo) { demo.frames[4].step = 0.0167; }},
    };
    for (const auto& c : cases) {
        Demo demo = golden;
        c.change(demo);
        EXPECT_EQ(challengeProblem(demo), c.problem);
    }
}
