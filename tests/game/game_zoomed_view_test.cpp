// The zoomed view at zoom 2: the laser sight, a new shot and the thrust flames leave
// the ship where it is drawn, and an echo of an asteroid off screen is marked on the
// screen's edge and heard from that place in the world.
#include "game/controls.h"
#include "game_play_fixture.h"
#include "game/ship_life.h"
#include "render/triangles.h"
#include "game/weapons.h"
#include "game/world_draw.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

// A ship pointing up, its outline ends in this order so that after sealing line 0
// starts at the nose and lines 1, 2 and 3 start at the flames' edge, centre and edge.
Model arrowOutline()
{
    Model model;
    for (Vec2f end : {Vec2f(-5.0f, 10.0f), Vec2f(0.0f, 10.0f), Vec2f(5.0f, 10.0f), Vec2f(0.0f, -10.0f)}) {
        ModelLine line;
        line.end = end;
        model.lines.push_back(line);
    }
    return model;
}

class ZoomedView : public GamePlay {
protected:
    // The ship at (1000, 700) in the middle of the screen at zoom 2: its nose, 10 world
    // units ahead, is drawn at (320, 220).
    void SetUp() override
    {
        GamePlay::SetUp();
        Player& player = game.player;
        game.camera.zoom = game.camera.targetZoom = 2.0f;
        game.camera.position = game.camera.target = cornerCentredOn(player.position, 2.0f);
        player.model = arrowOutline();
        player.angle = 0.0f;
        player.heading = {0.0f, -1.0f};
        TRANSFORM(player.model, player.position, player.angle, 1.0f, game.camera, false);
        game.effects.INIT(1999);
    }
};

bool isRed(int x, int y)
{
    uint32_t value;
    std::memcpy(&value, SCREEN_POINTER() + (y * SCREEN_WIDTH + x) * 4, sizeof value);
    return value == 0xFFFF0000u;
}

} // namespace

TEST_F(ZoomedView, LaserSight_RunsFromTheDrawnNose200PixelsAhead)
{
    Player& player = game.player;
    player.flags = kLaserSightFlag;
    player.laserLineStyle = 0xFFFF; // solid, so every pixel of the line shows
    const std::vector<Entity> noAsteroids;
    clearDepthBuffer();
    SCREEN_LOCK();
    SCREEN_CLEAR();
    DRAW_WORLD(player, noAsteroids, game.camera, game.effects, GameImages{}); // no textures: the sight alone
    SCREEN_UNLOCK();
    for (int y = 20; y <= 220; ++y) ASSERT_TRUE(isRed(320, y)) << "the line at y " << y;
    EXPECT_FALSE(isRed(320, 221)) << "the line starts at the nose";
    EXPECT_TRUE(isRed(315, 20) && isRed(325, 20)) << "the cross on the target";
    int strays = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) strays += isRed(x, y) && !(x >= 314 && x <= 326 && y >= 14 && y <= 220);
    }
    EXPECT_EQ(strays, 0) << "only the line, the cross and its ring";
}

TEST_F(ZoomedView, Shot_LeavesFromTheNoseInWorldUnits)
{
    hold({scancode::W});
    step(0.3);
    applyControls(game);
    ASSERT_TRUE(game.player.shots[1].active);
    EXPECT_EQ(game.player.shots[1].position, Vec2f(1000.0f, 690.0f));
}

TEST_F(ZoomedView, ThrustFlame_StartsOnTheTailInWorldUnits)
{
    game.player.thrustLevel = 1.0f;
    thrustFlames(game);
    ASSERT_EQ(liveEffects(EFFECT_SPRITE), 1);
    const Effect& flame = game.effects.slots[0];
    EXPECT_EQ(flame.position.y, 710.0f) << "on the tail's line, 10 world units behind the centre";
    EXPECT_LE(std::fabs(flame.position.x - 1000.0f), 5.0f);
}

TEST_F(ZoomedView, EchoOffScreen_MarkedOnTheEdgeAndHeardFromThere)
{
    Player& player = game.player;
    game.asteroids[0].position = {1250.0f, 700.0f}; // 500 pixels right of the ship: off screen
    player.pingOrigin = player.position;
    player.pingState = -1;
    player.pingEndTime = float(game.frameTime + 10.0);
    player.pingRadius = 490.0f;
    step(0.05); // the ring grows to 510 pixels and passes it
    sweepPing(game);
    ASSERT_EQ(liveEffects(EFFECT_RING), 1);
    const Effect& marker = game.effects.slots[0];
    // The right edge, x = 640 on the screen, is x = (1680 + 640) / 2 in the world.
    const Vec2f edge{1160.0f, 700.0f};
    EXPECT_EQ(marker.position, edge);
    EXPECT_EQ(marker.position * game.camera.zoom - game.camera.position, Vec2f(640.0f, 240.0f));
    EXPECT_NEAR(marker.angle, 3.0 * std::numbers::pi, 1e-5) << "facing back towards the ship";
    EXPECT_EQ(game.soundBank.sounds[game.sounds.pingReturn].position, edge);
}

// The rules do not depend on the camera: at every zoom the ship, a shot and the
// asteroids touch where their outlines touch at their true sizes in world units, and
// a hit is placed in world units. The drawn outlines carry the zoom; the tests must not.
TEST_F(ZoomedView, Collisions_AreInWorldUnitsAtEveryZoom)
{
    Player& player = game.player;
    Entity& rock = game.asteroids.at(0);
    Entity& other = game.asteroids.at(1);
    rock.model = squareOutline(10.0f, 10);
    other.model = squareOutline(10.0f, 10);
    for (const float zoom : {0.25f, 0.5f, 1.0f, 2.0f, 4.0f}) {
        game.camera.zoom = game.camera.targetZoom = zoom;
        // The arrow's tail reaches 5 units right of the ship, the square 10 left of its
        // centre, which lies a little higher, so that only the arrow's right edge meets it.
        for (const auto& [distance, touching] : {std::pair{14.0f, true}, std::pair{16.0f, false}}) {
            SCOPED_TRACE(testing::Message() << "zoom " << zoom << ", rock " << distance << " to the right");
            player.hit = rock.hit = false;
            player.flags = 0; // no shield
            player.velocity = {0.0f, 0.0f};
            rock.hitPoint = {0.0f, 0.0f};
            rock.position = player.position + Vec2f(distance, -3.0f);
            TRANSFORM(rock.model, rock.position, 0.0f, 1.0f, game.camera, false);
            UPDATE_PLAYER(player, game.asteroids, 0.0f, game.camera);
            EXPECT_EQ(player.hit, touching);
            if (touching) {
                // The ship's right edge meets the square's left side 6 units below the ship.
                EXPECT_NEAR(rock.hitPoint.x, player.position.x + distance - 10.0f, 1e-3);
                EXPECT_NEAR(rock.hitPoint.y, player.position.y + 6.0f, 1e-3);
            }

            // A shot flying down past the square's left side, a unit inside or outside it.
            rock.hit = false;
            Shot& shot = player.shots.at(0);
            shot = Shot{};
            shot.active = true;
            shot.expiryTime = static_cast<float>(game.frameTime + 1.0);
            shot.position = rock.position + Vec2f(touching ? -9.0f : -11.0f, -20.0f);
            shot.velocity = {0.0f, 1.0f};
            game.dt = 0.1; // 40 units: through the square's height
            flyShots(game);
            EXPECT_EQ(rock.hit, touching) << "shot";
            rock.hit = false;

            // Two squares side by side, touching only when less than 20 apart.
            other.position = rock.position + Vec2f(distance + 5.0f, 0.0f);
            other.velocity = rock.velocity = {0.0f, 0.0f};
            other.velocity.y = 1.0f;
            bool cleared = false;
            UPDATE_ASTEROIDS(game.asteroids, 0.0f, cleared, game.camera, game.asteroidGrid);
            EXPECT_EQ(rock.velocity != Vec2f(0.0f, 0.0f), touching) << "bounce";
        }
    }
}
