// What DRAW_WORLD puts on the screen, read back from the framebuffer at zoom 2, where
// a zoom applied wrongly shows: the effects under everything, the sonar ring's centre,
// the shots' width, and the asteroids' fans with their texture corners and brightness
// (the laser sight has its own test among the zoomed views).
#include "space/camera.h"
#include "game_play_fixture.h"
#include "render/image.h"
#include "render/triangles.h"
#include "game/world_draw.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kRingColour = 0xFF646400;

uint32_t screenPixel(int x, int y)
{
    uint32_t value;
    std::memcpy(&value, SCREEN_POINTER() + (y * SCREEN_WIDTH + x) * 4, sizeof value);
    return value;
}

std::vector<uint32_t> screenCopy()
{
    std::vector<uint32_t> pixels(SCREEN_WIDTH * SCREEN_HEIGHT);
    std::memcpy(pixels.data(), SCREEN_POINTER(), pixels.size() * 4);
    return pixels;
}

// The smallest box around every pixel of the colour; empty when there is none.
struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool empty() const { return left > right; }
};

Box boxOf(uint32_t colour)
{
    Box box;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            if (screenPixel(x, y) != colour) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    }
    return box;
}

class WorldDrawing : public GamePlay {
protected:
    void SetUp() override
    {
        GamePlay::SetUp();
        game.camera.zoom = 2.0f;
        game.camera.position = {1700.0f, 1200.0f}; // world (850, 600) at the top left
        game.effects.INIT(1999);
        game.player.flags = 0;
        for (Entity& asteroid : game.asteroids) asteroid.active = false;
        TRANSFORM(game.player.model, game.player.position, 0.0f, 1.0f, game.camera, false);
        game.player.heading = {0.0f, -1.0f};
    }

    void draw()
    {
        clearDepthBuffer();
        SCREEN_LOCK();
        SCREEN_CLEAR();
        DRAW_WORLD(game.player, game.asteroids, game.camera, game.effects, game.images);
        SCREEN_UNLOCK();
    }
};

} // namespace

TEST_F(WorldDrawing, Effects_AreDrawn)
{
    game.player.active = false;
    game.effects.SPAWN_EXPLOSION({950.0f, 650.0f}, 20.0f, 3, EFFECT_STREAK, 1e9f);
    draw();
    EXPECT_FALSE(boxOf(0xFFFFFF00).empty()) << "the yellow sparks";
}

TEST_F(WorldDrawing, PingRing_IsCentredOnTheZoomedOrigin)
{
    Player& player = game.player;
    player.active = false;
    player.pingState = -1;
    player.pingOrigin = {960.0f, 700.0f}; // screen (220, 200) at zoom 2, away from the ship
    player.pingRadius = 40.0f;            // screen pixels
    draw();
    const Box ring = boxOf(kRingColour);
    ASSERT_FALSE(ring.empty());
    EXPECT_NEAR((ring.left + ring.right) / 2.0, 220.0, 1.0);
    EXPECT_NEAR((ring.top + ring.bottom) / 2.0, 200.0, 1.0);
    EXPECT_NEAR(ring.right - ring.left, 80.0, 2.0);
}

TEST_F(WorldDrawing, Shot_Is2Point8WorldUnitsWideTimesTheZoom)
{
    Player& player = game.player;
    player.active = false;
    Shot& shot = player.shots[4];
    shot.active = true;
    shot.previousPosition = {900.0f, 700.0f}; // screen (100, 200) to (100, 100)
    shot.position = {900.0f, 650.0f};
    draw();
    // Half width 1.4 * 2 = 2.8: the quad spans x 97.2 to 102.8, pixels 98 to 102.
    for (int y : {120, 150, 180}) {
        std::vector<int> lit;
        for (int x = 80; x < 120; ++x) {
            if (screenPixel(x, y) != 0xFF000000u) lit.push_back(x);
        }
        EXPECT_EQ(lit, (std::vector<int>{98, 99, 100, 101, 102})) << "row " << y;
    }
}

TEST_F(WorldDrawing, Asteroid_IsAFanTexturedFromItsOwnLinesAndCentreAtBrightness8)
{
    // The same fans drawn straight through the filler, with every texture corner and
    // the brightness as the world drawing must pass them.
    game.player.active = false;
    Entity& rock = game.asteroids[3];
    rock.active = true;
    rock.position = {950.0f, 680.0f};
    rock.angle = 0.7f;
    TRANSFORM(rock.model, rock.position, rock.angle, 1.0f, game.camera, false);
    draw();
    const std::vector<uint32_t> drawn = screenCopy();

    const Vec2f p = rock.position * game.camera.zoom - game.camera.position;
    const Model& m = rock.model;
    clearDepthBuffer();
    SCREEN_LOCK();
    SCREEN_CLEAR();
    for (size_t i = 0; i < m.lines.size(); ++i) {
        const ModelLine& turned = m.transformed[i];
        TFPCSPTRI_ORIG(nullptr, turned.start.x + p.x, turned.start.y + p.y, 1.0f, m.lines[i].start.x,
                       m.lines[i].start.y, turned.end.x + p.x, turned.end.y + p.y, 1.0f, m.lines[i].end.x,
                       m.lines[i].end.y, p.x, p.y, 1.0f, m.centre.x, m.centre.y, 8, game.images.rock);
    }
    SCREEN_UNLOCK();
    const std::vector<uint32_t> expected = screenCopy();
    EXPECT_GT(std::count_if(expected.begin(), expected.end(), [](uint32_t v) { return v != 0xFF000000u; }), 1000);
    EXPECT_TRUE(drawn == expected);
}
