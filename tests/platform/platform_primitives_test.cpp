// The drawing primitives on the headless screen: line styles, boxes, clipping with
// the pattern phase kept, nested locks, circles, arcs, text and pixel rounding.
#include "render/image.h"
#include "support/screen_fixture.h"

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kWholeTurn = 6.283186f;
constexpr uint32_t kBlue = 0xFF0000FF;

} // namespace

using Lines = HeadlessScreen;

TEST_F(Lines, Solid_IncludesBothEndsAndNothingBeyond)
{
    DRAW_LINE(nullptr, 10, 10, 20, 10, kRed);
    for (int x = 10; x <= 20; ++x) EXPECT_EQ(pixel(x, 10), kRed) << x;
    EXPECT_EQ(pixel(9, 10), kBlack);
    EXPECT_EQ(pixel(21, 10), kBlack);
    EXPECT_EQ(countPixels(kRed), 11);
}

TEST_F(Lines, Diagonal_StepsOnePixelPerColumn)
{
    DRAW_LINE(nullptr, 3, 3, 0, 0, kRed);
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(pixel(i, i), kRed);
    EXPECT_EQ(countPixels(kRed), 4);
}

TEST_F(Lines, Style_StartsWithBit15AtTheFirstPoint)
{
    DRAW_LINE(nullptr, 10, 5, 29, 5, kRed, LINE_KIND_LINE, 0xCCCC);
    for (int x = 10; x <= 29; ++x) EXPECT_EQ(pixel(x, 5), (x - 10) % 4 < 2 ? kRed : kBlack) << x;
    // Drawn the other way round, the pattern starts at the right-hand end.
    DRAW_LINE(nullptr, 29, 7, 10, 7, kRed, LINE_KIND_LINE, 0xCCCC);
    for (int x = 10; x <= 29; ++x) EXPECT_EQ(pixel(x, 7), (29 - x) % 4 < 2 ? kRed : kBlack) << x;
    // A single bit shows the pattern repeats every 16 pixels.
    DRAW_LINE(nullptr, 0, 9, 40, 9, kRed, LINE_KIND_LINE, 0x8000);
    EXPECT_EQ(pixel(0, 9), kRed);
    EXPECT_EQ(pixel(16, 9), kRed);
    EXPECT_EQ(pixel(32, 9), kRed);
    EXPECT_EQ(pixel(1, 9), kBlack);
}

TEST_F(Lines, Clipping_KeepsThePatternPhaseOfTheWholeLine)
{
    DRAW_LINE(nullptr, -2, 50, 20, 50, kRed, LINE_KIND_LINE, 0xCCCC); // steps 0, 1 fall off the left
    EXPECT_EQ(pixel(0, 50), kBlack);
    EXPECT_EQ(pixel(1, 50), kBlack);
    EXPECT_EQ(pixel(2, 50), kRed);
    EXPECT_EQ(pixel(3, 50), kRed);
    DRAW_LINE(nullptr, 700, 60, 600, 60, kRed, LINE_KIND_LINE, 0xCCCC); // 60 steps off the right
    EXPECT_EQ(pixel(639, 60), kRed);
    EXPECT_EQ(pixel(637, 60), kBlack);
}

TEST_F(Lines, Clipping_AtAllFourEdges)
{
    DRAW_LINE(nullptr, -10, 100, 700, 100, kRed);
    DRAW_LINE(nullptr, 100, -50, 100, 530, kRed);
    EXPECT_EQ(countPixels(kRed), 640 + 480 - 1);
    DRAW_LINE(nullptr, -10, -10, 10, 10, kRed); // through the top left corner
    EXPECT_EQ(pixel(0, 0), kRed);
    DRAW_LINE(nullptr, 630, 470, 650, 490, kRed); // through the bottom right corner
    EXPECT_EQ(pixel(639, 479), kRed);
}

TEST_F(Lines, FarAwayAndNaNEnds_AreSafe)
{
    DRAW_LINE(nullptr, -1e30f, 240, 1e30f, 240, kRed);
    EXPECT_EQ(countPixels(kRed), 640);
    DRAW_LINE(nullptr, NAN, 10, 20, 10, kBlue);
    DRAW_LINE(nullptr, INFINITY, 10, 20, 10, kBlue);
    EXPECT_EQ(countPixels(kBlue), 0);
}

TEST_F(Lines, Box_DrawsTheOutlineOnly)
{
    DRAW_LINE(nullptr, 5, 5, 8, 7, kRed, LINE_KIND_BOX);
    EXPECT_EQ(countPixels(kRed), 10);
    EXPECT_EQ(pixel(6, 6), kBlack);
    EXPECT_EQ(pixel(7, 6), kBlack);
    EXPECT_EQ(pixel(8, 7), kRed);
    // A box larger than the screen shows only the edges that are on it.
    DRAW_LINE(nullptr, -5, 400, 700, 900, kBlue, LINE_KIND_BOX);
    EXPECT_EQ(countPixels(kBlue), 640);
}

TEST_F(Lines, Rounding_HalfAwayFromZero)
{
    DRAW_LINE(nullptr, -0.5f, 10, -0.5f, 10, kRed); // pixel -1: off the screen
    EXPECT_EQ(countPixels(kRed), 0);
    DRAW_LINE(nullptr, 0.5f, 10.49f, 0.5f, 10.49f, kRed);
    EXPECT_EQ(pixel(1, 10), kRed);
    EXPECT_EQ(countPixels(kRed), 1);
}

TEST_F(Lines, OnAnImage_ClipToTheImage)
{
    Image* image = createImage(9, 4);
    DRAW_LINE(image, -3, 2, 20, 2, kRed);
    for (uint32_t x = 0; x < 9; ++x) EXPECT_EQ(imageRow(image, 2)[x], kRed);
    EXPECT_EQ(imageRow(image, 2)[9], 0u) << "the row padding stays untouched";
    EXPECT_EQ(countPixels(kRed), 0);
    destroyImage(image);
}

using Locks = HeadlessScreen;

TEST_F(Locks, NestedLocks_PresentOnlyAtTheOutermostUnlock)
{
    SCREEN_LOCK();
    SCREEN_LOCK();
    DRAW_LINE(nullptr, 0, 0, 5, 0, kRed);
    SCREEN_UNLOCK();
    EXPECT_EQ(headless::presentedFrames(), 0);
    SCREEN_UNLOCK();
    EXPECT_EQ(headless::presentedFrames(), 1);
}

TEST_F(Locks, LineWhollyOutside_LeavesTheLockCountAsItWas)
{
    SCREEN_LOCK();
    DRAW_LINE(nullptr, -100, -100, -50, -20, kRed);
    EXPECT_EQ(headless::presentedFrames(), 0);
    SCREEN_UNLOCK();
    EXPECT_EQ(headless::presentedFrames(), 1);
    EXPECT_EQ(countPixels(kRed), 0);
}

TEST_F(Locks, UnlockBeyondTheLastRow_MarksNothingButStillCounts)
{
    SCREEN_LOCK();
    SCREEN_UNLOCK(0, SCREEN_HEIGHT);
    EXPECT_EQ(headless::presentedFrames(), 0);
    SCREEN_LOCK();
    SCREEN_UNLOCK(-1, -1);
    EXPECT_EQ(headless::presentedFrames(), 1);
}

TEST(ClosedScreen, PrimitivesDrawNothingAndTheMouseIsNowhere)
{
    headless::reset();
    EXPECT_EQ(SCREEN_POINTER(), nullptr);
    DRAW_LINE(nullptr, 0, 0, 10, 10, kRed);
    DRAW_CIRCLE(nullptr, 5, 5, 3, kRed, 0, 0, kWholeTurn, 1);
    DRAW_TEXT(nullptr, 0, 0, "A", kRed);
    SCREEN_CLEAR();
    headless::setMouse(3, 4, MOUSE_LEFT);
    int x, y, wheel, buttons, clip;
    MOUSE_GET(x, y, wheel, buttons, clip);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(buttons, -1);
    EXPECT_EQ(clip, -1);
}

using Circles = HeadlessScreen;

TEST_F(Circles, Outline_HasItsFourExtremesAndAnEmptyCentre)
{
    DRAW_CIRCLE(nullptr, 100, 100, 10, kRed, 0, 0, kWholeTurn, 0);
    EXPECT_EQ(pixel(110, 100), kRed);
    EXPECT_EQ(pixel(90, 100), kRed);
    EXPECT_EQ(pixel(100, 90), kRed);
    EXPECT_EQ(pixel(100, 110), kRed);
    EXPECT_EQ(pixel(100, 100), kBlack);
    for (int y = 85; y <= 115; ++y) {
        for (int x = 85; x <= 115; ++x) {
            if (pixel(x, y) != kRed) continue;
            const double r = std::hypot(x - 100, y - 100);
            EXPECT_NEAR(r, 10.0, 0.75) << x << "," << y;
        }
    }
}

TEST_F(Circles, Filled_CoversTheDiscArea)
{
    DRAW_CIRCLE(nullptr, 200, 200, 20, kRed, 0, 0, kWholeTurn, -1);
    EXPECT_EQ(pixel(200, 200), kRed);
    EXPECT_EQ(pixel(215, 200), kRed);
    EXPECT_EQ(pixel(222, 200), kBlack);
    EXPECT_NEAR(countPixels(kRed), kPi * 20 * 20, 0.05 * kPi * 20 * 20);
}

TEST_F(Circles, RadiusZeroOrLess_DrawsNothing)
{
    DRAW_CIRCLE(nullptr, 50, 50, 0, kRed, 0, 0, kWholeTurn, -1);
    DRAW_CIRCLE(nullptr, 50, 50, -4, kRed, 0, 0, kWholeTurn, 0);
    DRAW_CIRCLE(nullptr, 50, 50, NAN, kRed, 0, 0, kWholeTurn, 0);
    EXPECT_EQ(countPixels(kRed), 0);
    DRAW_CIRCLE(nullptr, 50, 50, 0.3f, kRed, 0, 0, kWholeTurn, 0);
    EXPECT_EQ(countPixels(kRed), 1);
}

TEST_F(Circles, Arc_RunsCounterClockwiseAsSeenOnScreen)
{
    DRAW_CIRCLE(nullptr, 100, 100, 10, kRed, 0, 0, kPi / 2, 0);
    EXPECT_EQ(pixel(110, 100), kRed); // east
    EXPECT_EQ(pixel(100, 90), kRed);  // north, which is up the screen
    EXPECT_EQ(pixel(90, 100), kBlack);
    EXPECT_EQ(pixel(100, 110), kBlack);
    EXPECT_EQ(pixel(107, 93), kRed);
    EXPECT_EQ(pixel(93, 107), kBlack);
}

TEST_F(Circles, Arc_EndBeforeStartWrapsThroughZero)
{
    DRAW_CIRCLE(nullptr, 100, 100, 10, kRed, 0, 3 * kPi / 2, kPi / 2, 0);
    EXPECT_EQ(pixel(110, 100), kRed);
    EXPECT_EQ(pixel(100, 110), kRed);
    EXPECT_EQ(pixel(90, 100), kBlack);
}

TEST_F(Circles, FilledArc_IsASector)
{
    DRAW_CIRCLE(nullptr, 100, 100, 10, kRed, 0, 0, kPi / 2, -1);
    EXPECT_EQ(pixel(104, 96), kRed);
    EXPECT_EQ(pixel(96, 104), kBlack);
    EXPECT_EQ(pixel(96, 96), kBlack);
    EXPECT_EQ(pixel(100, 100), kRed);
}

TEST_F(Circles, Aspect_SquashesTheShorterAxis)
{
    DRAW_CIRCLE(nullptr, 100, 100, 20, kRed, 0.5f, 0, kWholeTurn, 0);
    EXPECT_EQ(pixel(120, 100), kRed);
    EXPECT_EQ(pixel(100, 90), kRed);
    EXPECT_EQ(pixel(100, 80), kBlack);
}

TEST_F(Circles, ClippedAndHuge_DrawOnlyWhatIsOnScreen)
{
    DRAW_CIRCLE(nullptr, 0, 0, 5, kRed, 0, 0, kWholeTurn, -1);
    EXPECT_EQ(pixel(0, 0), kRed);
    EXPECT_EQ(pixel(5, 0), kRed);
    // Centred far away with a radius that brings the rim across the screen.
    DRAW_CIRCLE(nullptr, 320, 1e6f + 240, 1e6f, kBlue, 0, 0, kWholeTurn, 0);
    EXPECT_EQ(pixel(320, 240), kBlue);
    DRAW_CIRCLE(nullptr, 320, 240, 1e30f, kBlue, 0, 0, kWholeTurn, 0); // the rim is nowhere near
    EXPECT_LT(countPixels(kBlue), 700);
}

// An arc is the whole outline or disc masked by each pixel's angle from the centre,
// taken plainly with the library's atan2 for every pixel. Ends at the angles of
// lattice points put pixels exactly on them.
TEST_F(Circles, Arcs_AreTheWholeShapeMaskedByEachPixelsExactAngle)
{
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    const auto wrap = [&](double angle) {
        const double wrapped = std::fmod(angle, kTwoPi);
        return wrapped < 0.0 ? wrapped + kTwoPi : wrapped;
    };
    std::mt19937 random(11);
    const auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    const auto anAngle = [&] {
        if (pick(2)) return static_cast<float>(uniform(-7.0, 7.0));
        return static_cast<float>(std::atan2(pick(9) - 4, pick(9) - 4) + kTwoPi * (pick(3) - 1));
    };
    const float aspects[] = {0.0f, 0.5f, 0.8f, 1.7f};
    for (int i = 0; i < 300; ++i) {
        const int cx = 160 + pick(320), cy = 120 + pick(240);
        const float radius = static_cast<float>(uniform(0.5, 70.0));
        const float aspect = aspects[pick(4)];
        const float start = anAngle(), end = anAngle();
        const int fill = pick(2) ? -1 : 0;
        const double ratio = aspect > 0.0f ? aspect : 1.0;
        const double rx = ratio < 1.0 ? radius : radius / ratio, ry = ratio < 1.0 ? radius * ratio : radius;
        const int reach = static_cast<int>(std::max(rx, ry)) + 1; // within the screen
        SCREEN_CLEAR();
        DRAW_CIRCLE(nullptr, cx, cy, radius, kRed, aspect, 0, kWholeTurn, fill);
        std::vector<uint32_t> whole;
        for (int y = cy - reach; y <= cy + reach; ++y) {
            for (int x = cx - reach; x <= cx + reach; ++x) whole.push_back(pixel(x, y));
        }
        SCREEN_CLEAR();
        DRAW_CIRCLE(nullptr, cx, cy, radius, kRed, aspect, start, end, fill);

        const double span = double{end} - double{start};
        const bool wholeTurn = std::fabs(span) >= kTwoPi - 1e-5;
        size_t k = 0;
        for (int y = cy - reach; y <= cy + reach; ++y) {
            for (int x = cx - reach; x <= cx + reach; ++x, ++k) {
                const int dx = x - cx, dy = y - cy;
                const double fromStart = wrap(std::atan2(-dy / ry, dx / rx) - wrap(start));
                const bool onArc = wholeTurn || (dx == 0 && dy == 0) || fromStart <= wrap(span) + 1e-6 ||
                                   fromStart >= kTwoPi - 1e-6;
                ASSERT_EQ(pixel(x, y), onArc ? whole[k] : kBlack)
                    << "case " << i << " at (" << dx << ", " << dy << "), arc " << start << " to " << end;
            }
        }
    }
}

using Text = HeadlessScreen;

TEST_F(Text, WritesOnlyTheGlyphsSetPixels)
{
    SCREEN_LOCK();
    DRAW_LINE(nullptr, 0, 16, 639, 16, kBlue); // the top row of the text cell
    DRAW_TEXT(nullptr, 8, 16, "I", kRed);
    SCREEN_UNLOCK();
    // The top of an I is a bar over cell columns 2..4; the rest of the row keeps its colour.
    EXPECT_EQ(pixel(9, 16), kBlue);
    EXPECT_EQ(pixel(10, 16), kRed);
    EXPECT_EQ(pixel(12, 16), kRed);
    EXPECT_EQ(pixel(13, 16), kBlue);
    EXPECT_EQ(pixel(11, 17), kRed); // the stem
    EXPECT_EQ(pixel(10, 17), kBlack);
}

TEST_F(Text, EachCharacterTakesOneCellAndUnprintablesDrawNothing)
{
    DRAW_TEXT(nullptr, 0, 0, "I\x01I", kRed);
    EXPECT_EQ(pixel(3, 1), kRed);
    for (int y = 0; y < 8; ++y) {
        for (int x = 8; x < 16; ++x) EXPECT_EQ(pixel(x, y), kBlack);
    }
    EXPECT_EQ(pixel(19, 1), kRed);
    EXPECT_EQ(countPixels(kRed), 2 * 11); // an I has 11 pixels
}

TEST_F(Text, EveryPrintableCharacterHasPixelsButTheSpace)
{
    for (char c = '!'; c <= '~'; ++c) {
        SCREEN_CLEAR();
        DRAW_TEXT(nullptr, 100, 100, std::string(1, c), kRed);
        EXPECT_GT(countPixels(kRed), 0) << c;
    }
    SCREEN_CLEAR();
    DRAW_TEXT(nullptr, 100, 100, " ", kRed);
    EXPECT_EQ(countPixels(kRed), 0);
}

TEST_F(Text, ClipsAtTheEdges)
{
    DRAW_TEXT(nullptr, -4, -4, "W", kRed);
    DRAW_TEXT(nullptr, 636, 476, "W", kRed);
    EXPECT_GT(countPixels(kRed), 0);
}
