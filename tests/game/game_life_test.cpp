// Death, respawn and what the world drawing shows of a living or dead ship: the
// explosion and shake on a hit, the ship back three seconds later under a shield, a
// dead ship neither drawn nor shielded while its shots still are, the shots' glow
// following the next-shot time, a flame's half-second life, and a ship without a
// model file that fires and thrusts without reading lines it does not have.
#include "space/camera.h"
#include "game_play_fixture.h"
#include "render/image.h"
#include "game/ship_life.h"
#include "render/triangles.h"
#include "game/world_draw.h"

#include <algorithm>
#include <cstring>

namespace {

int litPixels()
{
    int lit = 0;
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; ++i) {
        uint32_t value;
        std::memcpy(&value, SCREEN_POINTER() + i * 4, sizeof value);
        lit += value != 0xFF000000u;
    }
    return lit;
}

} // namespace

TEST_F(GamePlay, Hit_ExplodesShakesAndRespawnsThreeSecondsLaterShielded)
{
    Player& player = game.player;
    player.flags = 0;
    player.shieldEndTime = 0.0f;
    game.effects.INIT(1999);
    Entity& rock = game.asteroids[0];
    rock.model = squareOutline(10.0f, 14);
    rock.position = player.position + Vec2f(0.0f, -14.0f); // across the nose
    rock.splittable = false;
    frame();
    const double death = game.frameTime;
    EXPECT_FALSE(player.active);
    EXPECT_FALSE(player.hit);
    EXPECT_FALSE(rock.active) << "the rock that struck is resolved the same frame";
    EXPECT_EQ(liveEffects(EFFECT_STREAK), 41 + 20) << "41 for the ship, 20 for the rock";
    EXPECT_TRUE(game.camera.shaking);
    EXPECT_FLOAT_EQ(game.camera.shakeEndTime, float(death + 2.0));
    EXPECT_EQ(liveEffects(EFFECT_SEGMENT), 0) << "no shield pieces from a dead ship";

    const Vec2f wreck = player.position;
    player.velocity = {1.0f, 1.0f};
    while (!player.active && game.frameTime < death + 5.0) frame(0.1);
    ASSERT_TRUE(player.active);
    EXPECT_GE(game.frameTime, death + 3.0);
    EXPECT_LT(game.frameTime, death + 3.2);
    EXPECT_NE(player.position, wreck);
    EXPECT_EQ(player.velocity, Vec2f(0.0f, 0.0f));
    EXPECT_TRUE(player.flags & kShieldFlag);
    EXPECT_FLOAT_EQ(player.shieldEndTime, float(game.frameTime + 5.0));
}

TEST_F(GamePlay, DeadShip_IsNotDrawnNorShieldedButItsShotsAre)
{
    Player& player = game.player;
    Camera& camera = game.camera;
    camera.position = player.position - Vec2f(320.0f, 240.0f);
    TRANSFORM(player.model, player.position, 0.0f, 1.0f, camera, false);
    player.flags = kShieldFlag | kLaserSightFlag;
    player.active = false;
    game.effects.INIT(1999);
    const std::vector<Entity> noAsteroids;
    auto draw = [&] {
        clearDepthBuffer();
        SCREEN_LOCK();
        SCREEN_CLEAR();
        DRAW_WORLD(player, noAsteroids, camera, game.effects, game.images);
        SCREEN_UNLOCK();
        return litPixels();
    };
    EXPECT_EQ(draw(), 0);
    EXPECT_EQ(liveEffects(EFFECT_SEGMENT), 0);

    Shot& shot = player.shots[7];
    shot.active = true;
    shot.previousPosition = player.position + Vec2f(0.0f, -40.0f);
    shot.position = player.position + Vec2f(0.0f, -50.0f);
    const int shotPixels = draw();
    EXPECT_GT(shotPixels, 0);

    player.active = true;
    EXPECT_GT(draw(), shotPixels + 100) << "the ship and its sight";
    EXPECT_EQ(liveEffects(EFFECT_SEGMENT), 4) << "one shield piece per outline line";
}

TEST_F(GamePlay, ShipWithoutModel_FiresFromItsCentreAndShowsNoFlames)
{
    Player& player = game.player;
    player.model = Model{};
    player.flags |= kLaserSightFlag;
    player.laserSightEndTime = float(game.frameTime + 100.0);
    player.nextShotTime = 0.0f;
    game.effects.INIT(1999);
    hold({scancode::UP, scancode::W});
    frame();
    const Shot& shot = player.shots[1];
    ASSERT_TRUE(shot.active);
    EXPECT_EQ(shot.previousPosition, player.position) << "left from the centre, then flew";
    EXPECT_GT(player.thrustLevel, 0.0f);
    EXPECT_EQ(liveEffects(EFFECT_SPRITE), 0);
    for (int n = 0; n < 20; ++n) frame();
}

TEST_F(GamePlay, ShotGlow_FollowsTheNextShotTime)
{
    // A flat grey shot texture: every shot pixel is 0x10 plus the glow, saturated.
    Image* grey = createImage(16, 16);
    for (uint32_t y = 0; y < 16; ++y) std::fill_n(imageRow(grey, y), 16, 0xFF101010u);
    GameImages images;
    images.shot = grey;
    Player& player = game.player;
    player.active = false;
    Shot& shot = player.shots[0];
    shot.active = true;
    shot.previousPosition = {100.0f, 100.0f};
    shot.position = {100.0f, 120.0f};
    game.camera.position = {0.0f, 0.0f};
    const std::vector<Entity> noAsteroids;
    auto shotColour = [&](double untilNextShot) {
        player.nextShotTime = float(TIMER_SECONDS() + untilNextShot);
        game.effects.INIT(1999);
        clearDepthBuffer();
        SCREEN_LOCK();
        SCREEN_CLEAR();
        DRAW_WORLD(player, noAsteroids, game.camera, game.effects, images);
        SCREEN_UNLOCK();
        uint32_t value;
        std::memcpy(&value, SCREEN_POINTER() + (110 * SCREEN_WIDTH + 100) * 4, sizeof value);
        return value;
    };
    EXPECT_EQ(shotColour(0.25), 0xFFCFCFCFu) << "just after a shot: 255 - 0.25 * 255 = 191.25, drawn as 191";
    EXPECT_EQ(shotColour(1.5), 0xFF101010u) << "a glow below 0 is 0";
    EXPECT_EQ(shotColour(0.0), 0xFFFFFFFFu) << "due: 255";
    destroyImage(grey);
}

TEST_F(GamePlay, ThrustFlame_LivesHalfASecond)
{
    game.effects.INIT(1999);
    game.player.thrustLevel = 1.0f;
    step(0.02);
    thrustFlames(game);
    ASSERT_EQ(liveEffects(EFFECT_SPRITE), 1);
    EXPECT_EQ(game.effects.slots[0].expiryTime, float(game.frameTime + 0.5));
}
