// Camera easing, zoom and world bounds, and the shake: its two random draws in
// order, the running shake that a second call only displaces once more, and the
// bounds that a shake may overstep for a frame.
#include "space/camera.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "space/world_size.h"

#include <gtest/gtest.h>

namespace {

constexpr double kSeed = 4242.0;

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        RANDOM_SEED(kSeed);
        setWorld(6400, 4800);
    }
    void TearDown() override
    {
        setWorld(savedWidth, savedHeight);
        headless::reset();
    }

    static void setWorld(int width, int height)
    {
        WORLD_W = width;
        WORLD_H = height;
    }

    // The displacement the next shake of amplitude a will add, drawn from a copy of
    // the generator's sequence: y's number first, then x's.
    static Vec2f nextDisplacement(float a, int drawsBefore)
    {
        RANDOM_SEED(kSeed);
        for (int i = 0; i < drawsBefore; ++i) RANDOM_UNIT();
        const double forY = RANDOM_UNIT();
        const double forX = RANDOM_UNIT();
        RANDOM_SEED(kSeed);
        for (int i = 0; i < drawsBefore; ++i) RANDOM_UNIT();
        return {static_cast<float>(forX * a * 2.0 - a), static_cast<float>(forY * a * 2.0 - a)};
    }

    const int savedWidth = WORLD_W;
    const int savedHeight = WORLD_H;
};

} // namespace

TEST_F(CameraTest, Update_CoversAFifthOfTheDistanceAtDtOneTenth)
{
    Camera camera;
    camera.target = {100, 50};
    camera.UPDATE(0.1f);
    EXPECT_FLOAT_EQ(camera.position.x, 20.0f);
    EXPECT_FLOAT_EQ(camera.position.y, 10.0f);
    EXPECT_EQ(camera.centre, camera.position + Vec2f(320, 240));
    camera.UPDATE(0.1f);
    EXPECT_FLOAT_EQ(camera.position.x, 36.0f);
    EXPECT_FLOAT_EQ(camera.position.y, 18.0f);
}

TEST_F(CameraTest, Update_SettlesTheZoomWithinItsBounds)
{
    Camera camera;
    camera.targetZoom = 8.0f;
    for (int i = 0; i < 100; ++i) camera.UPDATE(0.1f);
    EXPECT_EQ(camera.zoom, 4.0f);
    camera.targetZoom = 0.1f;
    for (int i = 0; i < 100; ++i) camera.UPDATE(0.1f);
    EXPECT_EQ(camera.zoom, 0.25f);
}

TEST_F(CameraTest, Update_HoldsAOneScreenWorldAtTheOriginAtZoomOne)
{
    setWorld(640, 480);
    Camera camera;
    for (Vec2f target : {Vec2f(300, 200), Vec2f(-300, -200)}) {
        camera.target = target;
        camera.UPDATE(0.5f);
        EXPECT_EQ(camera.position, Vec2f(0, 0));
    }
}

TEST_F(CameraTest, Update_KeepsTheMagnifiedWorldOnScreenAtZoomTwo)
{
    setWorld(640, 480);
    Camera camera;
    camera.zoom = camera.targetZoom = 2.0f;
    camera.target = {5000, 5000};
    camera.UPDATE(0.5f);
    EXPECT_EQ(camera.position, Vec2f(640, 480));
    EXPECT_EQ(camera.centre, Vec2f(5000 + 320, 5000 + 240)); // taken before bounding
    camera.target = {-100, 300};
    for (int i = 0; i < 50; ++i) camera.UPDATE(0.5f);
    EXPECT_EQ(camera.position.x, 0.0f);
    EXPECT_NEAR(camera.position.y, 300.0f, 1e-3f);
}

TEST_F(CameraTest, Update_PinsAWorldNarrowerThanTheScreenToANegativePosition)
{
    setWorld(320, 960);
    Camera camera;
    camera.UPDATE(0.1f);
    EXPECT_EQ(camera.position, Vec2f(-320, 0));
}

TEST_F(CameraTest, Shake_SecondCallOnlyAddsOneMoreDisplacementOfTheFirstAmplitude)
{
    headless::setTime(10.0);
    Camera camera;
    camera.position = {100, 100};
    const Vec2f first = nextDisplacement(5.0f, 0.0f);
    camera.SHAKE(5.0f, 2.0f);
    EXPECT_TRUE(camera.shaking);
    EXPECT_EQ(camera.shakeEndTime, 12.0f);
    EXPECT_EQ(camera.position, Vec2f(100, 100) + first);

    headless::setTime(11.0);
    const Vec2f second = nextDisplacement(5.0f, 2.0f);
    camera.SHAKE(50.0f, 30.0f);
    EXPECT_EQ(camera.shakeAmplitude, 5.0f);
    EXPECT_EQ(camera.shakeEndTime, 12.0f);
    EXPECT_EQ(camera.position, Vec2f(100, 100) + first + second);
    EXPECT_LE(std::abs(second.x), 5.0f);
    EXPECT_LE(std::abs(second.y), 5.0f);
}

TEST_F(CameraTest, Shake_RunsThroughUpdatesAndStopsAfterItsEndTime)
{
    setWorld(640, 480);
    Camera camera;
    camera.SHAKE(3.0f, 1.0f);
    camera.UPDATE(0.1f);
    // The displacement comes after the bounding, so the view may sit outside it.
    EXPECT_EQ(camera.position, nextDisplacement(3.0f, 2.0f));
    EXPECT_TRUE(camera.shaking);

    headless::setTime(1.5);
    camera.UPDATE(0.1f); // displaces a last time, then finds the time past the end
    EXPECT_FALSE(camera.shaking);
    camera.UPDATE(0.1f);
    EXPECT_EQ(camera.position, Vec2f(0, 0));
}
