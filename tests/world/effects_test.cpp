// The effect pool: spawners that take the lowest free slot (and draw no random number
// when none is free), the explosion ring, the shield counter, the per-kind motion and
// fade, the ends of effects, and drawing with the clamp, the ring arcs and the order.
#include "space/camera.h"
#include "render/rotozoom.h"
#include "world/entity.h"
#include "render/image.h"
#include "support/screen_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kYellow = 0xFFFFFF00;

// Every field a spawner may write, for comparing whole slots.
bool sameSlot(const Effect& a, const Effect& b)
{
    return a.active == b.active && a.position == b.position && a.velocity == b.velocity && a.angle == b.angle &&
           a.secondPoint == b.secondPoint && a.kind == b.kind && a.size == b.size && a.growth == b.growth &&
           a.maxSize == b.maxSize && a.expiryTime == b.expiryTime && a.drag == b.drag && a.colour.r == b.colour.r &&
           a.colour.g == b.colour.g && a.colour.b == b.colour.b && a.colourRate.r == b.colourRate.r &&
           a.image == b.image;
}

class Effects : public HeadlessScreen {
protected:
    void SetUp() override
    {
        HeadlessScreen::SetUp();
        headless::setTime(50.0);
        pool.INIT(99);
    }

    // A live effect of the given kind in slot i.
    Effect& live(size_t i, int32_t kind)
    {
        Effect& effect = pool.slots[i];
        effect.active = true;
        effect.kind = kind;
        effect.expiryTime = 1000.0f;
        return effect;
    }

    void render()
    {
        SCREEN_LOCK();
        pool.RENDER(camera);
        SCREEN_UNLOCK();
    }

    Camera camera;
    EffectSystem pool;
};

} // namespace

TEST_F(Effects, FullPool_EverySpawnerIsSkippedWithoutDrawingARandomNumber)
{
    for (size_t i = 0; i < pool.slots.size(); ++i) live(i, 4).position = {float(i), 0.0f};
    const std::vector<Effect> before = pool.slots;
    RANDOM_SEED(7.0);
    SHIELD_COUNTER = 3;
    pool.SPAWN_EXPLOSION({1, 2}, 2.0f, 19, EFFECT_STREAK, 60.0f);
    pool.SPAWN_THRUST({0, 0}, {5, 0}, {0, 5}, {1, 1}, nullptr, 60.0f);
    pool.SPAWN_PING({1, 1}, 0.5f, EFFECT_RING);
    pool.SPAWN_SHIELD({0, 0}, {10, 0});
    for (size_t i = 0; i < before.size(); ++i) ASSERT_TRUE(sameSlot(pool.slots[i], before[i])) << i;
    const double next = RANDOM_UNIT();
    RANDOM_SEED(7.0);
    EXPECT_EQ(next, RANDOM_UNIT()) << "no spawner drew a number";
    EXPECT_EQ(SHIELD_COUNTER, 4) << "the shield counter moves even so";
}

TEST_F(Effects, Spawners_TakeTheLowestFreeSlot)
{
    live(0, 4);
    live(2, 4);
    pool.SPAWN_PING({1, 1}, 0.5f, EFFECT_RING);
    EXPECT_EQ(pool.slots[1].kind, EFFECT_RING);
    pool.SPAWN_EXPLOSION({0, 0}, 1.0f, 1, EFFECT_STREAK, 60.0f); // two particles
    EXPECT_EQ(pool.slots[3].kind, EFFECT_STREAK);
    EXPECT_EQ(pool.slots[4].kind, EFFECT_STREAK);
    EXPECT_FALSE(pool.slots[5].active);
}

TEST_F(Effects, Explosion_CountPlusOneParticlesEvenlyRoundTheCentre)
{
    const Vec2f centre{100.0f, 50.0f};
    pool.SPAWN_EXPLOSION(centre, 2.0f, 19, EFFECT_STREAK, 51.0f);
    for (int i = 0; i < 20; ++i) {
        const Effect& spark = pool.slots[i];
        ASSERT_TRUE(spark.active) << i;
        const double theta = i * (M_PI / 10.0); // 18 degrees apart, 0 pointing down
        EXPECT_NEAR(spark.position.x, centre.x + 3.0 * std::sin(theta), 1e-4) << i;
        EXPECT_NEAR(spark.position.y, centre.y + 3.0 * std::cos(theta), 1e-4) << i;
        const float speed = std::hypot(spark.velocity.x, spark.velocity.y);
        EXPECT_GE(speed, 2.0f * 0.9999f) << i;
        EXPECT_LT(speed, 18.0f) << i;
        EXPECT_NEAR(spark.velocity.x / speed, std::sin(theta), 1e-5) << i;
        EXPECT_NEAR(spark.velocity.y / speed, std::cos(theta), 1e-5) << i;
    }
    EXPECT_FALSE(pool.slots[20].active);

    pool.INIT(9);
    pool.SPAWN_EXPLOSION(centre, 2.0f, 0, EFFECT_STREAK, 51.0f);
    EXPECT_EQ(pool.slots[0].position, Vec2f(100.0f, 53.0f));
    EXPECT_EQ(pool.slots[0].velocity.x, 0.0f);
    EXPECT_GT(pool.slots[0].velocity.y, 0.0f) << "particle 0 flies down the screen";
    EXPECT_FALSE(pool.slots[1].active);
}

TEST_F(Effects, Explosion_DrawsOneNumberPerParticleForItsSpeed)
{
    RANDOM_SEED(3.0);
    pool.SPAWN_EXPLOSION({0, 0}, 2.0f, 2, EFFECT_STREAK, 51.0f);
    RANDOM_SEED(3.0);
    for (int i = 0; i < 3; ++i) {
        const float expected = static_cast<float>(2.0 + RANDOM_UNIT() * 8.0 * 2.0);
        EXPECT_FLOAT_EQ(std::hypot(pool.slots[i].velocity.x, pool.slots[i].velocity.y), expected) << i;
    }
}

TEST_F(Effects, Shield_SpeedsFollowTheSharedCounterAndPiecesFlyAlongTheNormal)
{
    SHIELD_COUNTER = 0;
    EffectSystem other;
    other.INIT(9);
    const float expected[] = {51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 50};
    for (int i = 0; i < 11; ++i) {
        // Every third piece goes into another pool: the counter is the program's.
        EffectSystem& target = i % 3 == 2 ? other : pool;
        target.SPAWN_SHIELD({0, 0}, {10, 0});
        const Effect* piece = nullptr;
        for (const Effect& slot : target.slots) {
            if (slot.active) piece = &slot;
        }
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->velocity, Vec2f(0.0f, expected[i])) << i;
    }
    const Effect& first = pool.slots[0];
    EXPECT_EQ(first.kind, EFFECT_SEGMENT);
    EXPECT_EQ(first.position, Vec2f(0.0f, 0.0f));
    EXPECT_EQ(first.secondPoint, Vec2f(10.0f, 0.0f));
    EXPECT_EQ(first.expiryTime, 50.025f);
}

TEST_F(Effects, Thrust_DrawsEdgeDistanceAngleAndSizeInThatOrder)
{
    int image = 0; // only its address is kept
    const Image* picture = reinterpret_cast<const Image*>(&image);
    RANDOM_SEED(11.0);
    pool.SPAWN_THRUST({10, 10}, {20, 10}, {10, 30}, {1, -2}, picture, 50.5f);
    RANDOM_SEED(11.0);
    const bool firstEdge = std::floor(2.0 * RANDOM_UNIT()) == 0.0;
    const double along = RANDOM_UNIT();
    const double angle = RANDOM_UNIT() * 360.0;
    const double size = RANDOM_UNIT() * 0.5;
    const Effect& flame = pool.slots[0];
    if (firstEdge) {
        EXPECT_FLOAT_EQ(flame.position.x, static_cast<float>(10.0 + along * 10.0));
        EXPECT_EQ(flame.position.y, 10.0f);
    } else {
        EXPECT_EQ(flame.position.x, 10.0f);
        EXPECT_FLOAT_EQ(flame.position.y, static_cast<float>(10.0 + along * 20.0));
    }
    EXPECT_FLOAT_EQ(flame.angle, static_cast<float>(angle));
    EXPECT_FLOAT_EQ(flame.size, static_cast<float>(size));
    EXPECT_EQ(flame.velocity, Vec2f(3.0f, -6.0f));
    EXPECT_EQ(flame.kind, EFFECT_SPRITE);
    EXPECT_EQ(flame.image, picture);
}

TEST_F(Effects, Update_ColourFadesUnclampedAndDrawingClampsItInPlace)
{
    Effect& spark = live(0, EFFECT_STREAK);
    spark.colour = Colour{255, 255, 0};
    spark.colourRate = Colour{-510, -510, 0};
    for (int expected : {204, 153, 102, 51, 0, -51}) {
        pool.UPDATE(0.1f, camera);
        EXPECT_EQ(spark.colour.r, expected);
        EXPECT_EQ(spark.colour.g, expected);
        EXPECT_EQ(spark.colour.b, 0);
    }
    render();
    EXPECT_EQ(spark.colour.r, 0);
    EXPECT_EQ(spark.colour.g, 0);
}

TEST_F(Effects, Update_MovesEachKindByItsOwnRule)
{
    camera.zoom = 2.0f;
    Effect& streak = live(0, EFFECT_STREAK);
    streak.velocity = {1.0f, 0.0f};
    streak.drag = -5.0f;
    Effect& segment = live(1, EFFECT_SEGMENT);
    segment.velocity = {0.0f, 10.0f};
    segment.secondPoint = {4.0f, 0.0f};
    segment.drag = -5.0f;
    Effect& sprite = live(2, EFFECT_SPRITE);
    sprite.velocity = {10.0f, 0.0f};
    sprite.growth = 40.0f;
    pool.UPDATE(0.1f, camera);
    EXPECT_FLOAT_EQ(streak.position.x, 5.0f) << "50 x dt, whatever the zoom";
    EXPECT_FLOAT_EQ(streak.velocity.x, 0.5f);
    EXPECT_FLOAT_EQ(segment.position.y, 10.0f) << "5 x dt x zoom";
    EXPECT_FLOAT_EQ(segment.secondPoint.y, 10.0f);
    EXPECT_FLOAT_EQ(segment.velocity.y, 0.0f) << "the drag, too, is multiplied by the zoom";
    EXPECT_FLOAT_EQ(sprite.position.x, 2.0f);
    EXPECT_FLOAT_EQ(sprite.size, 8.0f);
}

TEST_F(Effects, Update_EndsEffectsAfterTheirExpiryTime)
{
    Effect& spark = live(0, EFFECT_STREAK);
    spark.expiryTime = 50.0f;
    Effect& flame = live(1, EFFECT_SPRITE);
    flame.expiryTime = 50.25f;
    Effect& ping = live(2, EFFECT_RING);
    ping.expiryTime = 0.0f; // a ring never looks at it
    ping.maxSize = 50.0f;
    pool.UPDATE(0.0f, camera);
    EXPECT_TRUE(spark.active) << "not later than the end";
    headless::setTime(50.1);
    pool.UPDATE(0.0f, camera);
    EXPECT_FALSE(spark.active);
    EXPECT_TRUE(flame.active);
    EXPECT_TRUE(ping.active);
}

TEST_F(Effects, Ring_EndsJustAfterAnEighthOfASecondAtZoomTwo)
{
    camera.zoom = 2.0f;
    pool.SPAWN_PING({0, 0}, 0.0f, EFFECT_RING);
    const Effect& ring = pool.slots[0];
    int updates = 0;
    while (ring.active && updates < 100) {
        pool.UPDATE(0.005f, camera);
        ++updates;
    }
    EXPECT_EQ(updates, 26) << "size 50 after 0.125 s is not yet past the end";
    EXPECT_EQ(ring.size, 52.0f);
}

TEST_F(Effects, UnknownKind_LivesForEverAndIsNeverDrawn)
{
    Effect& odd = live(0, 4);
    odd.position = {100.0f, 100.0f};
    odd.velocity = {10.0f, 10.0f};
    odd.expiryTime = 0.0f;
    odd.colour = Colour{255, 255, 255};
    headless::setTime(1.0e6);
    pool.UPDATE(1.0f, camera);
    render();
    EXPECT_TRUE(odd.active);
    EXPECT_EQ(odd.position, Vec2f(100.0f, 100.0f));
    EXPECT_EQ(countPixels(kBlack), SCREEN_WIDTH * SCREEN_HEIGHT);
}

TEST_F(Effects, Ring_SizeZeroIsDrawnAtOneAndKeepsIt)
{
    Effect& ring = live(0, EFFECT_RING);
    ring.position = {100.0f, 100.0f};
    ring.colour = Colour{255, 255, 0};
    render();
    EXPECT_EQ(ring.size, 1.0f);
    EXPECT_GT(countPixels(kYellow), 0);
    EXPECT_LE(countPixels(kYellow), 4) << "arcs of radius 0.5 to 1 cover a pixel or so";
}

TEST_F(Effects, Ring_ThreeArcsAtHalfThreeQuartersAndAllOfItsSize)
{
    Effect& ring = live(0, EFFECT_RING);
    ring.position = {100.0f, 50.0f};
    ring.size = 40.0f;
    ring.angle = 0.0f; // the arcs face along the positive x axis
    ring.colour = Colour{255, 255, 0};
    camera.zoom = 2.0f;
    camera.position = {100.0f, 0.0f}; // the centre lands on pixel (100, 100)
    render();
    EXPECT_EQ(pixel(120, 100), kYellow);
    EXPECT_EQ(pixel(130, 100), kYellow);
    EXPECT_EQ(pixel(140, 100), kYellow);
    EXPECT_EQ(pixel(125, 100), kBlack);
    EXPECT_EQ(pixel(80, 100), kBlack) << "only one radian of each circle is drawn";
    EXPECT_EQ(pixel(100, 80), kBlack);
    EXPECT_EQ(ring.size, 40.0f) << "the radius is in pixels, not zoomed";
}

TEST_F(Effects, Render_LowerSlotsLieOnTopAndLinesUseTheirPatterns)
{
    Effect& top = live(0, EFFECT_STREAK);
    top.position = {50.0f, 50.0f};
    top.velocity = {5.0f, 0.0f}; // 10 pixels long
    top.colour = Colour{255, 0, 0};
    Effect& under = live(1, EFFECT_STREAK);
    under.position = {50.0f, 50.0f};
    under.velocity = {10.0f, 0.0f};
    under.colour = Colour{0, 0, 255};
    Effect& shield = live(2, EFFECT_SEGMENT);
    shield.position = {110.0f, 200.0f}; // already zoomed: drawn minus the camera only
    shield.secondPoint = {125.0f, 200.0f};
    shield.colour = Colour{0, 255, 0};
    camera.zoom = 2.0f;
    camera.position = {10.0f, 0.0f};
    render();
    EXPECT_EQ(pixel(90, 100), kRed);
    EXPECT_EQ(pixel(100, 100), kRed);
    EXPECT_EQ(pixel(101, 100), 0xFF0000FFu) << "the longer streak shows beyond the shorter";
    EXPECT_EQ(pixel(110, 100), 0xFF0000FFu);
    EXPECT_EQ(pixel(111, 100), kBlack);
    const uint32_t green = 0xFF00FF00;
    const uint32_t dashes[] = {green, green, kBlack, kBlack, green, green, kBlack, kBlack};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(100 + x, 200), dashes[x]) << x;
}

TEST_F(Effects, Sprite_OpacityIsClampedForDrawingOnly)
{
    Image* picture = createImage(8, 8);
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 8; ++x) imageRow(picture, y)[x] = 0xFF80C040;
    }
    Effect& flame = live(0, EFFECT_SPRITE);
    flame.image = picture;
    flame.position = {200.0f, 150.0f};
    flame.size = 40.0f; // twice the picture's size
    flame.colour = Colour{300, 0, 0};
    render();
    EXPECT_EQ(flame.colour.r, 300);
    std::vector<uint8_t> drawn(SCREEN_POINTER(), SCREEN_POINTER() + SCREEN_WIDTH * SCREEN_HEIGHT * 4);
    SCREEN_LOCK();
    SCREEN_CLEAR();
    ROTOZOOM_BLEND(nullptr, picture, 200, 150, 0, 2.0f, 2.0f, 0, 255);
    SCREEN_UNLOCK();
    EXPECT_EQ(std::memcmp(drawn.data(), SCREEN_POINTER(), drawn.size()), 0);
    EXPECT_GT(countPixels(kBlack), 0);
    EXPECT_LT(countPixels(kBlack), SCREEN_WIDTH * SCREEN_HEIGHT - 200) << "about 16 x 16 pixels drawn";

    flame.size = 0.0f;
    SCREEN_LOCK();
    SCREEN_CLEAR();
    SCREEN_UNLOCK();
    render();
    EXPECT_EQ(countPixels(kBlack), SCREEN_WIDTH * SCREEN_HEIGHT) << "a size of 0 draws nothing";
    destroyImage(picture);
}
