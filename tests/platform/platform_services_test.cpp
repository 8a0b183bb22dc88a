// Input, time and the generator on the headless backend, and the parts of the
// screen service that the programs rely on beyond drawing.
#include "support/screen_fixture.h"

#include "render/image.h"

#include <algorithm>
#include <functional>
#include <vector>
#include <set>

using Services = HeadlessScreen;

TEST_F(Services, ScreenInfo_DescribesPlain32BitRows)
{
    int width, height, depth, bytesPerPixel, pitch, rate;
    SCREEN_INFO(width, height, depth, bytesPerPixel, pitch, rate);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(depth, 32);
    EXPECT_EQ(bytesPerPixel, 4);
    EXPECT_GE(pitch, 640 * 4);
}

TEST_F(Services, ScreenClear_FillsWithOpaqueBlack)
{
    DRAW_LINE(nullptr, 0, 0, 639, 479, kRed);
    SCREEN_CLEAR();
    EXPECT_EQ(countPixels(kBlack), 640 * 480);
}

TEST_F(Services, Overlay_IsShownOverTheScreenClippedWithoutEverEnteringTheFramebuffer)
{
    DRAW_LINE(nullptr, 0, 0, 639, 479, kRed);
    const std::vector<uint32_t> drawn(reinterpret_cast<const uint32_t*>(SCREEN_POINTER()),
                                      reinterpret_cast<const uint32_t*>(SCREEN_POINTER()) + 640 * 480);
    // Three columns by two rows hanging off the bottom left corner; its middle column
    // is see-through.
    Image* overlay = createImage(3, 2);
    for (uint32_t y = 0; y < 2; ++y) {
        imageRow(overlay, y)[0] = 0xFF0000FF;
        imageRow(overlay, y)[2] = 0x010000FF; // any alpha but 0 covers
    }
    SCREEN_OVERLAY(overlay, -1, 479);
    SCREEN_LOCK();
    SCREEN_UNLOCK(0, 0);
    EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), reinterpret_cast<const uint32_t*>(SCREEN_POINTER())));
    EXPECT_EQ(headless::shownPixel(0, 479), drawn[479 * 640]) << "the see-through column";
    EXPECT_EQ(headless::shownPixel(1, 479), 0x010000FFu);
    EXPECT_EQ(headless::shownPixel(2, 479), drawn[479 * 640 + 2]);
    EXPECT_EQ(headless::shownPixel(0, 0), kRed) << "rows the frame did not change are shown as they are";
    SCREEN_OVERLAY(nullptr, 0, 0);
    destroyImage(overlay);
    SCREEN_LOCK();
    SCREEN_UNLOCK(0, 0);
    EXPECT_EQ(headless::shownPixel(1, 479), drawn[479 * 640 + 1]) << "taken away at the next presentation";
}

TEST(ScreenOpen, RefusesOtherModesAndReportsWhy)
{
    headless::reset();
    EXPECT_NE(SCREEN_OPEN(800, 600, 32, 1, 0, 0), 0);
    EXPECT_FALSE(SCREEN_ERROR().empty());
    headless::failNextOpen("no display");
    EXPECT_NE(SCREEN_OPEN(640, 480, 32, 1, 0, 0), 0);
    EXPECT_EQ(SCREEN_ERROR(), "no display");
    EXPECT_EQ(SCREEN_POINTER(), nullptr);
    EXPECT_EQ(SCREEN_OPEN(640, 480, 32, 1, 0, 0), 0);
    EXPECT_NE(SCREEN_POINTER(), nullptr);
    headless::reset();
}

TEST_F(Services, KeyDown_ReportsScriptedKeysAndNothingAbove127)
{
    headless::setKey(scancode::UP, true);
    EXPECT_EQ(KEY_DOWN(scancode::UP), -1);
    EXPECT_EQ(KEY_DOWN(scancode::DOWN), 0);
    EXPECT_EQ(KEY_DOWN(128), 0);
    EXPECT_EQ(KEY_DOWN(-1), 0);
    headless::setKey(scancode::UP, false);
    EXPECT_EQ(KEY_DOWN(scancode::UP), 0);
}

TEST_F(Services, Mouse_IsMinusOneEverywhereOutsideThePicture)
{
    int x, y, wheel, buttons, clip;
    headless::setMouse(12, 34, MOUSE_LEFT | MOUSE_RIGHT, 2);
    MOUSE_GET(x, y, wheel, buttons, clip);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 34);
    EXPECT_EQ(wheel, 2);
    EXPECT_EQ(buttons, MOUSE_LEFT | MOUSE_RIGHT);
    headless::setMouseOutside();
    MOUSE_GET(x, y, wheel, buttons, clip);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(wheel, -1);
    EXPECT_EQ(buttons, -1);
    EXPECT_EQ(clip, -1);
}

// Each row: what happened to the mouse since the last MOUSE_GET, and what the next
// one must say. A press that is already over is reported once, where it was pressed.
TEST_F(Services, Mouse_PressLatch_ReportsEveryPressOnceAtItsPlace)
{
    struct Reading {
        int x, y, buttons;
    };
    const struct {
        const char* what;
        std::function<void()> events;
        Reading expected;
    } rows[] = {
        {"tap between two readings", [] { headless::setMouse(10, 20, MOUSE_LEFT), headless::setMouse(30, 40, 0); },
         {10, 20, MOUSE_LEFT}},
        {"reported once only", [] {}, {30, 40, 0}},
        {"press and drag follows the pointer",
         [] { headless::setMouse(30, 40, MOUSE_RIGHT), headless::setMouse(50, 60, MOUSE_RIGHT); },
         {50, 60, MOUSE_RIGHT}},
        {"held, not pressed again", [] { headless::setMouse(51, 61, MOUSE_RIGHT); }, {51, 61, MOUSE_RIGHT}},
        {"tap of a second button while one is held",
         [] { headless::setMouse(52, 62, MOUSE_RIGHT | MOUSE_LEFT), headless::setMouse(70, 80, MOUSE_RIGHT); },
         {52, 62, MOUSE_RIGHT | MOUSE_LEFT}},
        {"taps of two buttons between readings, both reported where the last was",
         [] {
             headless::setMouse(10, 20, MOUSE_LEFT), headless::setMouse(10, 20, 0);
             headless::setMouse(15, 25, MOUSE_RIGHT), headless::setMouse(16, 26, 0);
         },
         {15, 25, MOUSE_LEFT | MOUSE_RIGHT}},
        {"tap and then off the picture",
         [] { headless::setMouse(5, 6, MOUSE_LEFT), headless::setMouse(5, 6, 0), headless::setMouseOutside(); },
         {5, 6, MOUSE_LEFT}},
        {"off the picture, nothing latched", [] {}, {-1, -1, -1}},
    };
    headless::setMouse(0, 0, 0);
    for (const auto& row : rows) {
        row.events();
        int x, y, wheel, buttons, clip;
        MOUSE_GET(x, y, wheel, buttons, clip);
        EXPECT_EQ(x, row.expected.x) << row.what;
        EXPECT_EQ(y, row.expected.y) << row.what;
        EXPECT_EQ(buttons, row.expected.buttons) << row.what;
    }
}

TEST_F(Services, SleepAdvancesTheClockAndPumpsEvents)
{
    int pumps = 0;
    headless::onPump([&] { ++pumps; });
    headless::setTime(10.0);
    SLEEP_MS(3);
    EXPECT_DOUBLE_EQ(TIMER_SECONDS(), 10.003);
    EXPECT_EQ(pumps, 1);
    PUMP_EVENTS();
    EXPECT_EQ(pumps, 2);
}

TEST(Random, OneSeedGivesOneSequenceInTheUnitInterval)
{
    RANDOM_SEED(1234.5);
    std::vector<double> first;
    for (int i = 0; i < 1000; ++i) first.push_back(RANDOM_UNIT());
    RANDOM_SEED(1234.5);
    for (double expected : first) EXPECT_EQ(RANDOM_UNIT(), expected);

    double sum = 0.0;
    for (double value : first) {
        EXPECT_GE(value, 0.0);
        EXPECT_LT(value, 1.0);
        sum += value;
    }
    EXPECT_NEAR(sum / first.size(), 0.5, 0.05);
    EXPECT_GT(std::set<double>(first.begin(), first.end()).size(), 990u);
}

TEST(Random, NearbySeedsGiveDifferentSequences)
{
    // The game seeds from the timer; readings a tick apart must not give the same field.
    RANDOM_SEED(100.000001);
    const double a = RANDOM_UNIT();
    RANDOM_SEED(100.000002);
    EXPECT_NE(RANDOM_UNIT(), a);
}
