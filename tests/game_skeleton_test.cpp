// The game's frame on the headless backend: what a frame draws, how it measures
// time, and that Escape ends the game only after the frame has been shown.
#include "game.h"
#include "hud.h"
#include "screen_fixture.h"

namespace {

constexpr uint32_t kYellow = 0xFFFFFF00;

class GameFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        std::string error;
        ASSERT_TRUE(startGame(game, error)) << error;
    }
    void TearDown() override
    {
        endGame(game);
        headless::reset();
    }

    Game game;
};

uint32_t screenPixel(int x, int y) { return reinterpret_cast<const uint32_t*>(SCREEN_POINTER())[y * 640 + x]; }

} // namespace

TEST(Hud, RoundsFuelAndBatteryDown)
{
    EXPECT_EQ(hudLine(0, 100.0f, 100.0f), "SCORE 0 FUEL 100 BATTERY 100");
    EXPECT_EQ(hudLine(150, 99.2f, 87.9f), "SCORE 150 FUEL 99 BATTERY 87");
    EXPECT_EQ(hudLine(7, 99.99f, 0.5f), "SCORE 7 FUEL 99 BATTERY 0");
}

TEST_F(GameFrames, Frame_DrawsTheYellowHudInRows471To478Only)
{
    ASSERT_TRUE(runGameFrame(game));
    EXPECT_EQ(headless::presentedFrames(), 1);
    int yellow = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const uint32_t p = screenPixel(x, y);
            if (p == kYellow) {
                ++yellow;
                EXPECT_TRUE(y >= 471 && y <= 478) << x << "," << y;
            } else {
                EXPECT_EQ(p, 0xFF000000u) << x << "," << y;
            }
        }
    }
    // Exactly the pixels of the text drawn on its own.
    SCREEN_CLEAR();
    DRAW_TEXT(nullptr, 0, 471, "SCORE 0 FUEL 100 BATTERY 100", kYellow);
    int expected = 0;
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; ++i) expected += screenPixel(i % 640, i / 640) == kYellow;
    EXPECT_EQ(yellow, expected);
}

TEST_F(GameFrames, Escape_EndsTheGameOnlyAfterTheFrameIsShown)
{
    // Escape goes down during the frame's sleep, after the picture was presented.
    headless::onPump([] { headless::setKey(scancode::ESCAPE, true); });
    EXPECT_FALSE(runGameFrame(game));
    EXPECT_EQ(headless::presentedFrames(), 1);
}

TEST_F(GameFrames, Dt_IsTheMeasuredTimeWithoutClamping)
{
    headless::setTime(game.frameTime + 2.0); // a two-second stall
    runGameFrame(game);
    EXPECT_DOUBLE_EQ(game.dt, 2.0);
    headless::advanceTime(0.010);
    runGameFrame(game);
    EXPECT_NEAR(game.dt, 0.013, 1e-9) << "the 3 ms sleep belongs to the next frame's step";
}

TEST(GameStart, HidesThePointerInTheCorner)
{
    headless::reset();
    Game game;
    std::string error;
    ASSERT_TRUE(startGame(game, error));
    const headless::MouseRequest request = headless::lastMouseSet();
    EXPECT_TRUE(request.made);
    EXPECT_EQ(request.x, 0);
    EXPECT_EQ(request.y, 0);
    EXPECT_EQ(request.visibility, 0);
    EXPECT_EQ(request.clip, -1);
    endGame(game);
    headless::reset();
}

TEST(GameStart, FailsWithTheReasonWhenNoWindowOpens)
{
    headless::reset();
    headless::failNextOpen("no display here");
    Game game;
    std::string error;
    EXPECT_FALSE(startGame(game, error));
    EXPECT_EQ(error, "no display here");
    headless::reset();
}

TEST_F(GameFrames, StartUp_LoadsTheShipAndFliesInFromZoomFour)
{
    EXPECT_EQ(game.shipModel.lines.size(), 4u) << "data/model/Ship.mdata holds a four-line outline";
    headless::advanceTime(0.02);
    runGameFrame(game);
    EXPECT_EQ(game.camera.zoom, 4.0f) << "the start zoom of 10 is bounded by the first update";
    for (int frame = 0; frame < 100; ++frame) {
        headless::advanceTime(0.02);
        runGameFrame(game);
    }
    EXPECT_NEAR(game.camera.zoom, 1.0f, 1e-3f);
}
