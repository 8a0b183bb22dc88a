// The living world inside the headless game: level 1 at start-up, the ship, asteroids
// and effects advanced every frame, the next level built the frame after the field is
// cleared, the heads-up line reading the ship, and minutes of play that keep every
// asteroid within its wrap margin and the ship within the world.
#include "game_fixture.h"
#include "game/hud.h"
#include "render/image.h"
#include "png/png.h"
#include "support/screen_fixture.h"
#include "space/world_size.h"

#include <cmath>

namespace {

class GameWorld : public StartedGame {
protected:
    void SetUp() override
    {
        StartedGame::SetUp();
        dropBackground();
    }
};

bool inside(float value, float low, float high) { return value >= low && value <= high; }

} // namespace

TEST_F(GameWorld, StartUp_BuildsLevelOneAwayFromTheShip)
{
    const Player& player = game.player;
    EXPECT_EQ(player.levelNumber, 1);
    EXPECT_TRUE(player.active);
    EXPECT_EQ(player.shots.size(), 50u);
    EXPECT_EQ(player.fuel, 100.0f);
    EXPECT_EQ(player.battery, 100.0f);
    EXPECT_EQ(player.maxPingRadius, 800.0f);
    EXPECT_EQ(player.turnRate, 3.0f);
    EXPECT_EQ(player.shotInterval, 0.25f);
    EXPECT_EQ(player.effects, &game.effects);
    EXPECT_TRUE(player.flags & kShieldFlag) << "every level starts with a shield";
    EXPECT_EQ(game.effects.slots.size(), 2000u);
    ASSERT_EQ(game.asteroids.size(), 21u);
    for (const Entity& asteroid : game.asteroids) EXPECT_GE(DIST(asteroid.position, player.position), 25.0f);
    EXPECT_TRUE(inside(player.position.x, 0.0f, float(WORLD_W)) && inside(player.position.y, 0.0f, float(WORLD_H)));
}

TEST_F(GameWorld, StartUp_TheSameClockGivesTheSameWorld)
{
    const Vec2f ship = game.player.position;
    const std::vector<Entity> first = game.asteroids;
    endGame(game);
    headless::reset();
    headless::setTime(kStartClock);
    std::string error;
    ASSERT_TRUE(startGame(game, error)) << error;
    EXPECT_EQ(game.player.position, ship);
    ASSERT_EQ(game.asteroids.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(game.asteroids[i].position, first[i].position) << i;
        EXPECT_EQ(game.asteroids[i].model.lines.size(), first[i].model.lines.size()) << i;
    }
}

TEST_F(GameWorld, Frame_AdvancesTheShipTheAsteroidsAndTheEffects)
{
    game.player.velocity = {1.0f, 0.0f};
    const Vec2f ship = game.player.position;
    const Vec2f rock = game.asteroids[0].position;
    game.effects.SPAWN_PING({10, 10}, 0.0f, EFFECT_RING);
    frame(0.1);
    EXPECT_NE(game.player.position, ship);
    EXPECT_NE(game.asteroids[0].position, rock);
    EXPECT_FALSE(game.asteroids[0].model.transformed.empty());
    EXPECT_GT(game.effects.slots[0].size, 0.0f) << "the ping marker grew";
}

TEST_F(GameWorld, ClearedField_NextFrameBuildsTheNextLevel)
{
    for (Entity& asteroid : game.asteroids) asteroid.active = false;
    frame();
    EXPECT_TRUE(game.levelCleared);
    EXPECT_EQ(game.player.levelNumber, 1) << "the level is built the frame after";
    game.player.flags = 0;
    frame();
    EXPECT_FALSE(game.levelCleared);
    EXPECT_EQ(game.player.levelNumber, 2);
    EXPECT_EQ(game.asteroids.size(), 41u);
    EXPECT_TRUE(game.player.flags & kShieldFlag);
    EXPECT_EQ(game.player.fuel, 100.0f) << "the ship keeps its resources";
}

TEST_F(GameWorld, Hud_ReadsThePlayer)
{
    game.player.score = 150;
    game.player.fuel = 99.2f;
    game.player.battery = 87.9f;
    frame();
    int drawn = 0;
    for (int y = 471; y < 479; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            drawn += reinterpret_cast<const uint32_t*>(SCREEN_POINTER())[y * SCREEN_WIDTH + x] == 0xFFFFFF00u;
        }
    }
    SCREEN_LOCK();
    SCREEN_CLEAR();
    DRAW_TEXT(nullptr, 0, 471, "SCORE 150 FUEL 99 BATTERY 87", 0xFFFFFF00u);
    SCREEN_UNLOCK();
    int expected = 0;
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; ++i) {
        expected += reinterpret_cast<const uint32_t*>(SCREEN_POINTER())[i] == 0xFFFFFF00u;
    }
    EXPECT_EQ(drawn, expected);
}

TEST_F(GameWorld, MinutesOfPlay_KeepAsteroidsInTheirMarginAndTheShipInTheWorld)
{
    const float w = float(WORLD_W);
    const float h = float(WORLD_H);
    Player& player = game.player;
    int levels = 1;
    int wraps = 0;
    // Three simulated minutes of 40 ms frames (plus the 3 ms sleep), the ship thrusting
    // in a slowly turning direction as if flown, and the field cleared now and then.
    for (int n = 0; n < 4200; ++n) {
        const double turn = n * 0.002;
        player.thrustVector = {float(std::sin(turn)), float(-std::cos(turn))};
        player.thrustLevel = 2.0f;
        if (n % 1500 == 1499) {
            for (Entity& asteroid : game.asteroids) asteroid.active = false;
        }
        const Vec2f before = player.position;
        frame(0.04);
        if (std::fabs(player.position.x - before.x) > w / 2 || std::fabs(player.position.y - before.y) > h / 2) {
            ++wraps;
        }
        levels = player.levelNumber;
        ASSERT_TRUE(inside(player.position.x, 0.0f, w) && inside(player.position.y, 0.0f, h))
            << "frame " << n << ": " << player.position.x << "," << player.position.y;
        ASSERT_LE(std::hypot(player.velocity.x, player.velocity.y), 3.0001f);
        for (const Entity& asteroid : game.asteroids) {
            if (!asteroid.active) continue;
            ASSERT_TRUE(inside(asteroid.position.x, -50.0f, w + 50.0f) && inside(asteroid.position.y, -50.0f, h + 50.0f))
                << "frame " << n << ": " << asteroid.position.x << "," << asteroid.position.y;
            ASSERT_TRUE(std::isfinite(asteroid.velocity.x) && std::isfinite(asteroid.velocity.y));
        }
    }
    EXPECT_GE(headless::presentedFrames(), 4200);
    EXPECT_EQ(levels, 3) << "two cleared fields";
    EXPECT_GT(wraps, 0) << "the ship crossed an edge at least once";
}

TEST_F(GameWorld, Frames_KeepEveryArrayWhereItIs)
{
    // A per-frame update that resized a list would move it; splits are the only growth
    // allowed, and no shot hits anything without the controls.
    frame();
    auto places = [this] {
        std::vector<const void*> where{game.effects.slots.data(), game.asteroids.data(), game.player.shots.data(),
                                       game.player.model.lines.data(), game.player.model.transformed.data()};
        for (const Entity& asteroid : game.asteroids) {
            where.push_back(asteroid.model.lines.data());
            where.push_back(asteroid.model.transformed.data());
        }
        return where;
    };
    const std::vector<const void*> before = places();
    for (int n = 0; n < 200; ++n) {
        game.player.thrustLevel = 1.0f;
        game.player.thrustVector = {1.0f, 0.0f};
        game.effects.SPAWN_EXPLOSION(game.player.position, 2.0f, 19, EFFECT_STREAK, float(TIMER_SECONDS() + 1.0));
        frame();
    }
    EXPECT_EQ(places(), before);
}
