// The keys: turning wraps at the full turn, an empty tank stops only turning and
// thrust, the trigger keeps its rhythm on a flat battery, the shot ring's order,
// how often a held S renews the shield, which way the zoom keys go, the camera following
// the ship, what each action costs, and the order of a jump's random draws.
#include "game/controls.h"
#include "game_play_fixture.h"
#include "game/weapons.h"
#include "space/world_size.h"

#include <cmath>
#include <cstring>

namespace {

constexpr float kFullTurn = 6.2831850f; // 0x40C90FDA

} // namespace

TEST_F(GamePlay, Turning_WrapsAtTheFullTurnBothWays)
{
    uint32_t bits;
    std::memcpy(&bits, &kFullTurn, sizeof bits);
    ASSERT_EQ(bits, 0x40C90FDAu);
    Player& player = game.player;
    player.angle = 6.2f;
    hold({scancode::RIGHT});
    step(0.05); // 6.2 + 0.15
    applyControls(game);
    EXPECT_NEAR(player.angle, 6.35f - kFullTurn, 1e-5f);
    EXPECT_GT(player.angle, 0.0f);

    player.angle = 0.05f;
    hold({scancode::LEFT});
    step(0.05); // 0.05 - 0.15
    applyControls(game);
    EXPECT_NEAR(player.angle, kFullTurn - 0.1f, 1e-5f);
    EXPECT_LT(player.angle, kFullTurn);
}

TEST_F(GamePlay, EmptyTank_StopsTurnAndThrustButNotJumpShieldFireOrPing)
{
    Player& player = game.player;
    player.fuel = 0.0f;
    player.flags = 0;
    player.shieldEndTime = 0.0f; // the level's shield has run out
    player.angle = 1.0f;
    player.heading = {0.0f, -1.0f};
    const Vec2f before = player.position;
    hold({scancode::RIGHT, scancode::UP});
    step(0.1);
    applyControls(game);
    EXPECT_EQ(player.angle, 1.0f);
    EXPECT_EQ(player.thrustLevel, 0.0f);
    EXPECT_EQ(player.thrustVector, Vec2f(0.0f, 0.0f));

    hold({scancode::DOWN, scancode::S, scancode::W, scancode::SPACE});
    step(0.01);
    applyControls(game);
    EXPECT_NE(player.position, before) << "jumped";
    EXPECT_TRUE(player.flags & kShieldFlag);
    EXPECT_EQ(player.pingState, -1);
    EXPECT_TRUE(player.shots[1].active);
}

TEST_F(GamePlay, Thrust_SpendsFuelAndEasesTheVectorTowardsTheHeading)
{
    Player& player = game.player;
    player.heading = {1.0f, 0.0f};
    player.thrustVector = {0.0f, 0.0f};
    hold({scancode::UP});
    step(0.02);
    applyControls(game);
    EXPECT_FLOAT_EQ(player.fuel, 100.0f - 0.02f);
    EXPECT_FLOAT_EQ(player.thrustLevel, 0.06f);
    EXPECT_FLOAT_EQ(player.thrustVector.x, 0.2f) << "(heading - vector) * dt * 10, assigned";
    hold({});
    step(0.02);
    applyControls(game);
    EXPECT_EQ(player.thrustLevel, 0.0f);
    EXPECT_FLOAT_EQ(player.thrustVector.x, 0.2f) << "the vector keeps its value";
}

TEST_F(GamePlay, FlatBattery_NoShotLeavesButTheTriggerKeepsItsRhythm)
{
    Player& player = game.player;
    player.battery = 0.99f;
    hold({scancode::W});
    for (int press = 0; press < 3; ++press) {
        step(0.3);
        applyControls(game);
        EXPECT_FLOAT_EQ(player.nextShotTime, float(game.frameTime + 0.25));
    }
    for (const Shot& shot : player.shots) EXPECT_FALSE(shot.active);
    EXPECT_EQ(player.shotIndex, 0);
}

TEST_F(GamePlay, Shots_FillTheRingFromSlotOneAndWrapToZero)
{
    Player& player = game.player;
    hold({scancode::W});
    for (int n = 1; n <= 51; ++n) {
        player.battery = 100.0f;
        step(0.3);
        applyControls(game);
        const int slot = n % 50;
        ASSERT_EQ(player.shotIndex, slot) << "shot " << n;
        const Shot& shot = player.shots[slot];
        EXPECT_TRUE(shot.active);
        EXPECT_FLOAT_EQ(shot.expiryTime, float(game.frameTime + 2.0));
        EXPECT_EQ(shot.position, player.position + player.model.transformed[0].start) << "from the nose";
    }
}

TEST_F(GamePlay, HoldingS_RenewsTheShieldOnceASecondWhileTheBatteryLasts)
{
    Player& player = game.player;
    player.shieldEndTime = 0.0f;
    hold({scancode::S});
    std::vector<double> renewals;
    for (int n = 0; n < 1200; ++n) { // 12 s of 10 ms steps, without recharge
        const float before = player.shieldEndTime;
        step(0.01);
        applyControls(game);
        if (player.shieldEndTime != before) renewals.push_back(game.frameTime);
    }
    // Each renewal costs 1000 * 0.01 = 10: 100, 90, ..., 30 are all above 25.
    ASSERT_EQ(renewals.size(), 8u);
    for (size_t i = 1; i < renewals.size(); ++i) EXPECT_GE(renewals[i] - renewals[i - 1], 1.0 - 1e-4);
    EXPECT_NEAR(player.battery, 20.0f, 1e-3f);
}

TEST_F(GamePlay, DeadShip_IgnoresItsKeysButZoomAndSightStillWork)
{
    Player& player = game.player;
    player.active = false;
    const Vec2f place = player.position;
    hold({scancode::DOWN, scancode::W, scancode::SPACE, scancode::A, scancode::PAGE_UP});
    step(0.1);
    applyControls(game);
    EXPECT_EQ(player.position, place);
    EXPECT_EQ(player.pingState, 0);
    EXPECT_FALSE(player.shots[1].active);
    EXPECT_TRUE(player.flags & kLaserSightFlag);
    EXPECT_FLOAT_EQ(game.camera.zoom, 1.1f);
    EXPECT_EQ(game.camera.targetZoom, game.camera.zoom);
    EXPECT_EQ(game.camera.position, place * game.camera.zoom + Vec2f(-320.0f, -240.0f));
}

TEST_F(GamePlay, ZoomKeys_PageUpZoomsInPageDownOutAndTheViewStaysOnTheShip)
{
    struct Row {
        int key;
        float zoom;
    };
    // Bounded at once, to the camera's own range: a long frame with Page Down held must
    // not draw (or shape the next frame's outlines at) a zoom of 0 or below.
    for (const Row& row : {Row{scancode::PAGE_UP, 1.25f}, Row{scancode::PAGE_DOWN, 0.75f},
                           Row{scancode::PAGE_DOWN, Camera::kMinZoom}, Row{scancode::PAGE_UP, Camera::kMaxZoom}}) {
        const bool toTheBound = row.zoom == Camera::kMinZoom || row.zoom == Camera::kMaxZoom;
        game.camera.zoom = game.camera.targetZoom = toTheBound ? (row.key == scancode::PAGE_UP ? 3.9f : 0.3f) : 1.0f;
        hold({row.key});
        step(0.25);
        applyControls(game);
        EXPECT_EQ(game.camera.zoom, row.zoom);
        EXPECT_EQ(game.camera.targetZoom, row.zoom);
        EXPECT_EQ(game.camera.position, game.player.position * row.zoom - Vec2f(320.0f, 240.0f));
        EXPECT_EQ(game.camera.target, game.camera.position);
    }
}

TEST_F(GamePlay, Camera_FollowsTheLivingShipToTheCentreOfTheView)
{
    Player& player = game.player;
    game.camera.zoom = game.camera.targetZoom = 2.0f;
    game.camera.position = game.camera.target = {0.0f, 0.0f};
    player.flags = 0;
    for (int n = 0; n < 300; ++n) frame();
    // The ship at the screen's centre: (1000, 700) * 2 - (320, 240).
    EXPECT_NEAR(game.camera.position.x, 1680.0f, 1.0f);
    EXPECT_NEAR(game.camera.position.y, 1160.0f, 1.0f);
    player.active = false;
    player.respawnTime = 1e9f;
    player.position = {400.0f, 300.0f};
    frame();
    EXPECT_EQ(game.camera.target, Vec2f(1680.0f, 1160.0f)) << "a dead ship's view stays where it was";
}

TEST_F(GamePlay, Costs_EachActionSpendsItsShareOfTheStep)
{
    // One 0.01 s step from 50 fuel and 50 battery.
    struct Row {
        const char* action;
        int key;
        bool recharge;
        float fuel, battery;
    };
    const Row rows[] = {
        {"sight", scancode::A, false, 50.0f, 50.0f - 1.0f},     {"ping", scancode::SPACE, false, 50.0f, 50.0f - 2.0f},
        {"shield", scancode::S, false, 50.0f, 50.0f - 10.0f},  {"shot", scancode::W, false, 50.0f, 50.0f - 1.0f},
        {"thrust", scancode::UP, false, 50.0f - 0.01f, 50.0f}, {"recharge", -1, true, 50.0f - 0.001f, 50.0f + 0.01f},
    };
    Player& player = game.player;
    for (const Row& row : rows) {
        player.fuel = player.battery = 50.0f;
        player.flags = 0;
        player.pingState = 0;
        player.shieldEndTime = player.laserSightEndTime = player.nextShotTime = 0.0f;
        row.key < 0 ? hold({}) : hold({row.key});
        step(0.01);
        applyControls(game);
        if (row.recharge) rechargeBattery(game);
        EXPECT_FLOAT_EQ(player.fuel, row.fuel) << row.action;
        EXPECT_FLOAT_EQ(player.battery, row.battery) << row.action;
    }
}

TEST_F(GamePlay, Jump_DrawsTheNewYBeforeTheNewX)
{
    RANDOM_SEED(42.0);
    const double forY = RANDOM_UNIT(), forX = RANDOM_UNIT();
    RANDOM_SEED(42.0);
    hold({scancode::DOWN});
    step(0.01);
    applyControls(game);
    EXPECT_EQ(game.player.position, Vec2f(float(forX * WORLD_W), float(forY * WORLD_H)));
}
