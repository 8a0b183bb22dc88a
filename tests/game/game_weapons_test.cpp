// Shots, hits and the sonar: one shot scoring on every asteroid it crosses, splits
// and fragment scores, echo markers pinned to the screen border, the last
// asteroid of a level shot away to build the next one, the ping's time limit, and the
// rock explosion centred on the hit point.
#include "game/controls.h"
#include "game_play_fixture.h"
#include "game/weapons.h"

#include <cmath>
#include <numbers>

namespace {

// A square rock of half side 10 at a place, standing still.
void placeRock(Entity& asteroid, Vec2f position, bool splittable, bool fragment)
{
    asteroid.model = squareOutline(10.0f, 14);
    asteroid.position = position;
    asteroid.active = true;
    asteroid.splittable = splittable;
    asteroid.fragment = fragment;
}

void launch(Shot& shot, Vec2f from, Vec2f direction)
{
    shot.position = from;
    shot.velocity = direction;
    shot.active = true;
    shot.expiryTime = 1.0e6f;
}

} // namespace

TEST_F(GamePlay, OneShot_HitsAndScoresEveryAsteroidItCrosses)
{
    Player& player = game.player;
    player.fuel = 50.0f;
    player.battery = 50.0f;
    placeRock(game.asteroids[0], {1000.0f, 600.0f}, true, false);  // y 590..610
    placeRock(game.asteroids[1], {1000.0f, 570.0f}, false, false); // y 560..580
    Shot& shot = player.shots[3];
    launch(shot, {1000.0f, 620.0f}, {0.0f, -1.0f});
    step(0.1); // 50 units: up to y 570
    flyShots(game);
    EXPECT_FALSE(shot.active);
    EXPECT_TRUE(game.asteroids[0].hit && game.asteroids[1].hit);
    // Each hit point is where the path crosses that rock's outline (its first line crossed).
    EXPECT_EQ(game.asteroids[0].hitPoint.x, 1000.0f);
    EXPECT_TRUE(game.asteroids[0].hitPoint.y == 590.0f || game.asteroids[0].hitPoint.y == 610.0f);
    EXPECT_EQ(game.asteroids[1].hitPoint.x, 1000.0f);
    EXPECT_TRUE(game.asteroids[1].hitPoint.y == 560.0f || game.asteroids[1].hitPoint.y == 580.0f);
    EXPECT_EQ(player.score, 50 + 150);
    EXPECT_EQ(player.fuel, 70.0f);
    EXPECT_EQ(player.battery, 51.0f);

    const size_t before = game.asteroids.size();
    resolveHits(game);
    ASSERT_EQ(game.asteroids.size(), before + 1) << "the splittable one split";
    EXPECT_TRUE(game.asteroids[0].active && game.asteroids[0].fragment);
    EXPECT_TRUE(game.asteroids.back().active && game.asteroids.back().fragment);
    EXPECT_FALSE(game.asteroids[1].active) << "the solid one is gone";
    EXPECT_FALSE(game.asteroids[0].hit || game.asteroids[1].hit);
    EXPECT_EQ(liveEffects(EFFECT_STREAK), 40);
    EXPECT_EQ(player.score, 200) << "no score for a split";
}

TEST_F(GamePlay, ShotFlight_StepsByDtThenBySpeedInFloat)
{
    // The vector operators take a float: (velocity * dt) * 500, each product rounded.
    // For these numbers, rounding dt * 500 first would move the shot differently.
    const Vec2f direction{0.6f, 0.8f};
    const double dt = 0.0173;
    const float dtAsFloat = static_cast<float>(dt);
    ASSERT_NE(direction.x * dtAsFloat * 500.0f, direction.x * static_cast<float>(dt * 500.0));
    Shot& shot = game.player.shots[0];
    launch(shot, {0.0f, 0.0f}, direction); // at the origin no later sum hides the difference
    step(dt);
    flyShots(game);
    EXPECT_EQ(shot.position, direction * dtAsFloat * 500.0f);
}

TEST_F(GamePlay, Fragments_Score50Or150ForTheHitAnd25ForTheirRemoval)
{
    Player& player = game.player;
    placeRock(game.asteroids[0], {1000.0f, 600.0f}, true, false);
    game.asteroids[0].hit = true;
    game.asteroids[0].hitPoint = {1000.0f, 610.0f};
    resolveHits(game);
    ASSERT_EQ(game.asteroids.size(), 22u);
    // The old piece keeps its splittable mark; the new one never had it.
    placeRock(game.asteroids[0], {1000.0f, 600.0f}, true, true);
    placeRock(game.asteroids[21], {1200.0f, 600.0f}, false, true);
    launch(player.shots[1], {1000.0f, 620.0f}, {0.0f, -1.0f});
    step(0.04); // 20 units: through the near edge only
    flyShots(game);
    EXPECT_EQ(player.score, 50);
    launch(player.shots[2], {1200.0f, 620.0f}, {0.0f, -1.0f});
    flyShots(game);
    EXPECT_EQ(player.score, 50 + 150);
    resolveHits(game);
    EXPECT_EQ(player.score, 50 + 150 + 25 + 25);
    EXPECT_FALSE(game.asteroids[0].active || game.asteroids[21].active);
    EXPECT_EQ(game.asteroids.size(), 22u) << "fragments are never split again";
}

TEST_F(GamePlay, PingNearTheEdge_PinsEchoesOfOffScreenAsteroidsToTheBorder)
{
    Player& player = game.player;
    game.camera.position = {700.0f, 460.0f}; // the ship in the middle of the screen
    game.asteroids[0].position = {1500.0f, 700.0f}; // 500 right, past the right edge
    game.asteroids[1].position = {1000.0f, 200.0f}; // 500 up, past the top edge
    game.asteroids[2].position = {1100.0f, 700.0f}; // on screen, passed long ago
    player.pingOrigin = player.position;
    player.pingState = -1;
    player.pingEndTime = float(game.frameTime + 10.0);
    player.pingRadius = 490.0f;
    game.effects.INIT(1999);
    step(0.05); // the ring grows to 510
    sweepPing(game);
    EXPECT_FLOAT_EQ(player.previousPingRadius, 490.0f);
    EXPECT_FLOAT_EQ(player.pingRadius, 510.0f);
    ASSERT_EQ(liveEffects(EFFECT_RING), 2);
    const Effect& right = game.effects.slots[0];
    const Effect& top = game.effects.slots[1];
    EXPECT_EQ(right.position, Vec2f(1340.0f, 700.0f));
    EXPECT_EQ(top.position, Vec2f(1000.0f, 460.0f));
    EXPECT_NEAR(right.angle, 3.0 * std::numbers::pi, 1e-5) << "atan2(0, -340) + 2 pi";
    EXPECT_EQ(game.soundBank.sounds[game.sounds.pingReturn].position, top.position) << "played at the marker";
    EXPECT_EQ(player.pingState, -1);

    player.pingRadius = 799.0f;
    sweepPing(game);
    EXPECT_EQ(player.pingState, 0) << "past the largest radius the sweep ends";
}

TEST_F(GamePlay, LastAsteroidShotAway_NextLevelHas41Asteroids)
{
    Player& player = game.player;
    for (Entity& asteroid : game.asteroids) asteroid.active = false;
    placeRock(game.asteroids[5], player.position + Vec2f(0.0f, -60.0f), false, true);
    player.angle = 0.0f; // nose up, at the rock
    player.nextShotTime = 0.0f;
    hold({scancode::W});
    frame();
    hold({});
    int frames = 0;
    while (game.asteroids[5].active && frames < 50) {
        frame();
        ++frames;
    }
    ASSERT_FALSE(game.asteroids[5].active) << "the shot never arrived";
    EXPECT_EQ(player.score, 150 + 25);
    frame();
    EXPECT_EQ(player.levelNumber, 1);
    EXPECT_TRUE(game.levelCleared);
    frame();
    EXPECT_EQ(player.levelNumber, 2);
    EXPECT_EQ(game.asteroids.size(), 41u);
}

TEST_F(GamePlay, Ping_GrowsOnlyWithinItsTenSecondsAndEndsPastTheLargestRadius)
{
    Player& player = game.player;
    hold({scancode::SPACE});
    step(0.02);
    applyControls(game);
    EXPECT_EQ(player.pingEndTime, float(game.frameTime + 10.0));
    int steps = 0;
    while (player.pingState != 0 && steps < 100) {
        step(0.125); // 50 pixels, exactly
        sweepPing(game);
        ++steps;
    }
    EXPECT_EQ(steps, 17) << "800 pixels at 400 per second, ended by the first step past them";

    player.pingState = -1;
    player.pingRadius = 10.0f;
    player.pingEndTime = float(game.frameTime - 1.0);
    step(0.1);
    sweepPing(game);
    EXPECT_EQ(player.pingRadius, 10.0f) << "past its end time the ring no longer grows";
}

TEST_F(GamePlay, RockExplosion_CentresOnTheHitPointNotTheRock)
{
    Entity& rock = game.asteroids[2];
    rock.hit = true;
    rock.fragment = true;
    rock.hitPoint = rock.position + Vec2f(5.0f, -7.0f);
    game.effects.INIT(1999);
    resolveHits(game);
    ASSERT_EQ(liveEffects(EFFECT_STREAK), 20);
    EXPECT_EQ(game.effects.slots[0].position, rock.hitPoint + Vec2f(0.0f, 3.0f)) << "the first spark starts below";
}
