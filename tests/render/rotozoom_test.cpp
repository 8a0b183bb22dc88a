// The sprite drawers: where texels land and which way they turn, the zoom rules, the
// three put-down rules with their exact byte results, all three drawers against a
// literal reference, the fast paths against the row-by-row loop, and that no
// position, angle, zoom or size reaches outside either image.
#include "render/rotozoom.h"

#include "render/rotozoom_loops.h"
#include "support/guarded_image.h"
#include "render/image.h"
#include "support/screen_fixture.h"
#include "sprite_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr uint32_t kMagenta = 0xFFFF00FF;
constexpr uint32_t kDstGuard = 0x2468ACE1;
constexpr uint32_t kSrcGuard = 0x7531FDB9;

// Every texel distinct and opaque, none equal to the transparent key or to black.
Image* numberedSprite(uint32_t width, uint32_t height)
{
    Image* image = createImage(width, height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) imageRow(image, y)[x] = 0xFF800000 | y << 8 | x;
    }
    return image;
}

Image* filledImage(uint32_t width, uint32_t height, uint32_t colour)
{
    Image* image = createImage(width, height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) imageRow(image, y)[x] = colour;
    }
    return image;
}

bool sameImage(const Image* a, const Image* b)
{
    return a->height == b->height && a->pitch == b->pitch &&
           std::memcmp(imagePixels(a), imagePixels(b), size_t(a->pitch) * a->height) == 0;
}

} // namespace

using Rotozoom = HeadlessScreen;

TEST_F(Rotozoom, UnrotatedSprite_LandsAroundItsCentre)
{
    Image* sprite = numberedSprite(8, 6);
    SCREEN_LOCK();
    ROTOZOOM(nullptr, sprite, 100, 50, 0, 1.0f, 1.0f, kMagenta, 0, 0);
    SCREEN_UNLOCK();
    for (int y = 40; y < 60; ++y) {
        for (int x = 90; x < 110; ++x) {
            const bool inside = x >= 96 && x <= 103 && y >= 47 && y <= 52;
            const uint32_t expected = inside ? imageRow(sprite, uint32_t(y - 47))[x - 96] : kBlack;
            ASSERT_EQ(pixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(countPixels(kBlack), SCREEN_WIDTH * SCREEN_HEIGHT - 48);
    destroyImage(sprite);
}

TEST_F(Rotozoom, TransparentTexels_LeaveTheDestination)
{
    Image* sprite = numberedSprite(8, 6);
    imageRow(sprite, 2)[3] = kMagenta;
    SCREEN_LOCK();
    ROTOZOOM(nullptr, sprite, 100, 50, 0, 1.0f, 1.0f, kMagenta, 0, 0);
    SCREEN_UNLOCK();
    EXPECT_EQ(pixel(99, 49), kBlack);
    EXPECT_EQ(pixel(100, 49), imageRow(sprite, 2)[4]);
    destroyImage(sprite);
}

TEST_F(Rotozoom, ZeroZy_MeansZx_ZeroZxOrNoSourceDrawsNothing)
{
    Image* sprite = numberedSprite(16, 10);
    Image* a = createImage(100, 80);
    Image* b = createImage(100, 80);
    for (int angle : {0, 33, 90, 200}) {
        ROTOZOOM(a, sprite, 40, 30, angle, 2.5f, 0.0f, kMagenta, 3, -2);
        ROTOZOOM(b, sprite, 40, 30, angle, 2.5f, 2.5f, kMagenta, 3, -2);
        ROTOZOOM_BLEND(a, sprite, 60, 50, angle, -1.5f, 0.0f, kMagenta, 100);
        ROTOZOOM_BLEND(b, sprite, 60, 50, angle, -1.5f, -1.5f, kMagenta, 100);
        EXPECT_TRUE(sameImage(a, b)) << angle;
    }
    Image* blank = createImage(100, 80);
    ROTOZOOM(blank, sprite, 40, 30, 0, 0.0f, 1.0f, kMagenta, 0, 0);
    ROTOZOOM(blank, nullptr, 40, 30, 0, 1.0f, 1.0f, kMagenta, 0, 0);
    ROTOZOOM_BLEND(blank, sprite, 40, 30, 0, 0.0f, 2.0f, kMagenta, 255);
    Image* untouched = createImage(100, 80);
    EXPECT_TRUE(sameImage(blank, untouched));
    for (Image* image : {sprite, a, b, blank, untouched}) destroyImage(image);
}

TEST_F(Rotozoom, PivotOffset_TurnsTheSpriteAboutAnotherPoint)
{
    // Half a turn about a point 10 pixels right of the centre moves the centre 20 right.
    Image* sprite = numberedSprite(8, 6);
    Image* centred = createImage(100, 60);
    Image* pivoted = createImage(100, 60);
    ROTOZOOM(centred, sprite, 40, 30, 180, 1.0f, 1.0f, kMagenta, 0, 0);
    ROTOZOOM(pivoted, sprite, 20, 30, 180, 1.0f, 1.0f, kMagenta, 10, 0);
    EXPECT_TRUE(sameImage(centred, pivoted));
    destroyImage(sprite);
    destroyImage(centred);
    destroyImage(pivoted);
}

TEST_F(Rotozoom, NonSquareSprite_PositiveAnglesTurnItAnticlockwiseAboutItsCentreOrPivot)
{
    // An 8 x 4 sprite at (50, 40): at 90 degrees its right edge points up the screen and
    // it covers columns 48..51, rows 37..44; at -90 it points down, columns 49..52,
    // rows 36..43. A pivot 10 pixels right of the centre moves the whole turned sprite
    // by (10, 10) at 90 degrees, and a pivot (10, -6) at 30 degrees by (4, 4).
    struct Case {
        int angle, px, py, sourceX, sourceY, x, y;
    };
    const Case cases[] = {{90, 0, 0, 0, 0, 48, 44},   {90, 0, 0, 7, 0, 48, 37},  {90, 0, 0, 0, 3, 51, 44},
                          {90, 0, 0, 7, 3, 51, 37},   {-90, 0, 0, 0, 0, 52, 36}, {-90, 0, 0, 7, 3, 49, 43},
                          {90, 10, 0, 0, 0, 58, 54},  {90, 10, 0, 7, 3, 61, 47}};
    Image* sprite = numberedSprite(8, 4);
    for (const Case& c : cases) {
        Image* dst = createImage(100, 80);
        ROTOZOOM(dst, sprite, 50, 40, c.angle, 1.0f, 1.0f, kMagenta, c.px, c.py);
        EXPECT_EQ(imageRow(dst, uint32_t(c.y))[c.x], imageRow(sprite, uint32_t(c.sourceY))[c.sourceX])
            << c.angle << " degrees, pivot " << c.px << "," << c.py << ", texel " << c.sourceX << "," << c.sourceY;
        destroyImage(dst);
    }
    Image* pivoted = createImage(100, 80);
    Image* moved = createImage(100, 80);
    Image* wide = numberedSprite(12, 5);
    ROTOZOOM(pivoted, wide, 50, 40, 30, 1.0f, 1.0f, kMagenta, 10, -6);
    ROTOZOOM(moved, wide, 54, 44, 30, 1.0f, 1.0f, kMagenta, 0, 0);
    EXPECT_TRUE(sameImage(pivoted, moved));
    for (Image* image : {sprite, pivoted, moved, wide}) destroyImage(image);
}

TEST_F(Rotozoom, WhollyOffTheDestination_DrawsNothing)
{
    Image* sprite = numberedSprite(8, 6);
    SCREEN_LOCK();
    ROTOZOOM(nullptr, sprite, 700, 50, 0, 1.0f, 1.0f, kMagenta, 0, 0);
    ROTOZOOM_BLEND(nullptr, sprite, 700, 50, 0, 1.0f, 1.0f, kMagenta, 255);
    ROTOZOOM(nullptr, sprite, 100, -20, 45, 1.0f, 1.0f, kMagenta, 0, 0);
    EXPECT_EQ(ROTOZOOM_ALPHA(nullptr, sprite, -50, 50, 0, 1.0f, 1.0f, kMagenta), 0);
    SCREEN_UNLOCK();
    EXPECT_EQ(countPixels(kBlack), SCREEN_WIDTH * SCREEN_HEIGHT);
    destroyImage(sprite);
}

TEST_F(Rotozoom, BlendRegion_IsOneColumnAndRowSmaller)
{
    // Mirrored, the sprite's source column 0 and row 0 fall on the box's last column
    // and row, which ROTOZOOM visits and ROTOZOOM_BLEND does not.
    Image* sprite = numberedSprite(8, 6);
    Image* copied = createImage(200, 100);
    Image* blended = createImage(200, 100);
    ROTOZOOM(copied, sprite, 100, 50, 0, -1.0f, -1.0f, kMagenta, 0, 0);
    ROTOZOOM_BLEND(blended, sprite, 100, 50, 0, -1.0f, -1.0f, kMagenta, 255);
    EXPECT_EQ(imageRow(copied, 53)[104], imageRow(sprite, 0)[0]);
    EXPECT_EQ(imageRow(copied, 52)[104], imageRow(sprite, 1)[0]);
    EXPECT_EQ(imageRow(copied, 53)[100], imageRow(sprite, 0)[4]);
    EXPECT_EQ(imageRow(blended, 52)[104], 0u);
    EXPECT_EQ(imageRow(blended, 53)[100], 0u);
    EXPECT_EQ(imageRow(copied, 48)[97], imageRow(sprite, 5)[7]);
    EXPECT_EQ(imageRow(blended, 48)[97], imageRow(sprite, 5)[7] - 0x01010101); // 255/256 of the way
    destroyImage(sprite);
    destroyImage(copied);
    destroyImage(blended);
}

TEST_F(Rotozoom, BlendOpacity_IsClampedAndRoundsDown)
{
    Image* sprite = filledImage(4, 4, 0xFFFFFFFF);
    Image* dst = createImage(16, 16);
    const auto blendAt = [&](int opacity, uint32_t below) {
        imageRow(dst, 8)[8] = below;
        ROTOZOOM_BLEND(dst, sprite, 8, 8, 0, 1.0f, 1.0f, kMagenta, opacity);
        return imageRow(dst, 8)[8];
    };
    EXPECT_EQ(blendAt(128, 0x00000000), 0x7F7F7F7Fu);
    EXPECT_EQ(blendAt(300, 0x00000000), blendAt(255, 0x00000000));
    EXPECT_EQ(blendAt(255, 0x00000000), 0xFEFEFEFEu);
    EXPECT_EQ(blendAt(-5, 0x12345678), 0x12345678u);
    destroyImage(sprite);
    // Towards a darker texel the step rounds down too: 255 + floor(-255 * 255 / 256) = 0.
    sprite = filledImage(4, 4, 0x00000000);
    EXPECT_EQ(blendAt(255, 0xFFFFFFFF), 0x00000000u);
    EXPECT_EQ(blendAt(1, 0xFF80FF10), 0xFE7FFE0Fu);
    destroyImage(sprite);
    destroyImage(dst);
}

TEST(RotozoomBlendRule, EveryByteOpacityPair_GivesDstPlusFloorOfTheScaledDifference)
{
    // The packed 16-bit blend against the plain formula, exhaustively per byte; each
    // byte lane gets its own values so a mixed-up lane shows too.
    for (int opacity = 0; opacity <= 255; ++opacity) {
        const rotozoom::BlendTexel blend{0, opacity};
        for (int s = 0; s <= 255; ++s) {
            for (int d = 0; d <= 255; ++d) {
                const int bytes[4][2] = {{s, d}, {255 - s, d}, {s, 255 - d}, {d, s}};
                uint32_t texel = 0, dst = 0, expected = 0;
                for (int i = 0; i < 4; ++i) {
                    const int src = bytes[i][0], below = bytes[i][1];
                    texel |= uint32_t(src) << (8 * i);
                    dst |= uint32_t(below) << (8 * i);
                    const int exact = below + int(std::floor((src - below) * opacity / 256.0));
                    expected |= uint32_t(exact) << (8 * i);
                }
                if (texel == 0) continue; // the transparent key of this blend
                blend(dst, texel);
                ASSERT_EQ(dst, expected) << "s " << s << " d " << d << " opacity " << opacity;
            }
        }
    }
}

// The turn's cosine and sine are taken in long double, 80 bits wide on x86-64 and 128
// on 64-bit ARM, then stored as floats: those floats, pinned here as they come out on
// x86-64, must not depend on the processor, or sprites would turn differently.
TEST(RotozoomPlan, StepsOfEveryWholeDegree_AreTheSameFloatsOnEveryProcessor)
{
    Image* sprite = createImage(32, 32);
    Image* target = createImage(64, 64);
    uint64_t hash = 14695981039346656037u;
    for (int angle = -1080; angle <= 1080; ++angle) {
        rotozoom::Plan plan;
        ASSERT_TRUE(rotozoom::planRotozoom(surfaceOf(target), *sprite, {32, 32, angle, 1.0f, 1.0f}, plan));
        for (const float step : {plan.ix, plan.jx}) hash = (hash ^ std::bit_cast<uint32_t>(step)) * 1099511628211u;
    }
    EXPECT_EQ(hash, 0x7c3bdee2fd4c9e01u);
    destroyImage(sprite);
    destroyImage(target);
}

TEST_F(Rotozoom, AlphaBlend_UsesTheTexelsAlphaAndClearsTheDestinationAlpha)
{
    Image* sprite = filledImage(4, 4, 0x80FF0000);
    imageRow(sprite, 1)[3] = 0x00FFFFFF; // alpha 0: skipped
    imageRow(sprite, 2)[3] = kMagenta;   // the key: skipped
    Image* dst = filledImage(16, 16, kBlack);
    EXPECT_EQ(ROTOZOOM_ALPHA(dst, sprite, 8, 8, 0, 1.0f, 1.0f, kMagenta), 0);
    EXPECT_EQ(imageRow(dst, 8)[8], 0x007F0000u);
    EXPECT_EQ(imageRow(dst, 7)[9], kBlack);
    EXPECT_EQ(imageRow(dst, 8)[9], kBlack);
    destroyImage(dst);
    dst = filledImage(16, 16, kBlack);
    for (float zoom : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(ROTOZOOM_ALPHA(dst, sprite, 8, 8, 0, zoom, 1.0f, kMagenta), -1);
        EXPECT_EQ(ROTOZOOM_ALPHA(dst, sprite, 8, 8, 0, 1.0f, zoom, kMagenta), -1);
    }
    EXPECT_EQ(imageRow(dst, 8)[8], kBlack);
    destroyImage(sprite);
    destroyImage(dst);
}

TEST_F(Rotozoom, FastPaths_MatchTheRowByRowReference)
{
    // ROTOZOOM as called (four rows at a time, or whole-pixel copies) against the plain
    // loop over the same plan, on random sprites, positions, angles and zooms; one draw
    // in three is unrotated and unscaled so the copy path is taken often.
    std::mt19937 random(5);
    std::uniform_int_distribution<int> size(1, 90), position(-120, 260), angle(-720, 720);
    std::uniform_real_distribution<float> zoom(-4.0f, 4.0f);
    Image* reference = createImage(160, 120);
    Image* fast = createImage(160, 120);
    int drawn = 0, shifted = 0;
    for (int n = 0; n < 3000; ++n) {
        // Every hundredth sprite is too wide for 16-bit texel offsets: the general lanes.
        Image* sprite = n % 100 == 0 ? numberedSprite(32768 + uint32_t(size(random)), 3)
                                     : numberedSprite(uint32_t(size(random)), uint32_t(size(random)));
        imageRow(sprite, 0)[0] = kMagenta;
        imageRow(sprite, sprite->height - 1)[sprite->width / 2] = kMagenta;
        const bool plain = n % 3 == 0;
        const int a = plain ? 0 : angle(random);
        const float zx = plain ? 1.0f : zoom(random), zy = plain ? 1.0f : (n % 5 == 0) ? 0.0f : zoom(random);
        const int x = position(random), y = position(random), px = position(random) / 4, py = position(random) / 4;
        ROTOZOOM(fast, sprite, x, y, a, zx, zy, kMagenta, px, py);
        rotozoom::Plan plan;
        rotozoom::Source source;
        ASSERT_TRUE(rotozoom::sourceOf(sprite, source));
        const Surface target = surfaceOf(reference);
        if (zx != 0.0f && rotozoom::planRotozoom(target, *sprite, {x, y, a, zx, zy == 0 ? zx : zy, true, px, py},
                                                 plan)) {
            rotozoom::drawRows<1>(target, source, plan, rotozoom::CopyTexel{kMagenta});
            ++drawn;
            shifted += rotozoom::isWholePixelShift(plan);
        }
        ASSERT_TRUE(sameImage(reference, fast)) << "draw " << n;
        destroyImage(sprite);
    }
    EXPECT_GT(drawn, 700);
    EXPECT_GT(shifted, 200);
    destroyImage(reference);
    destroyImage(fast);
}

TEST_F(Rotozoom, WildParameters_StayInsideBothImages)
{
    const float kWild[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(), 3e38f, -3e38f, 1e-30f, -1e-30f, 1e6f, 0.0f,
                           1.0f, -1.0f, 0.01f};
    const int kWildInts[] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0, -1, 1, 100000,
                             -100000, 30, 50};
    std::mt19937 random(9);
    GuardedImage source(13, 7, kSrcGuard);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 13; ++x) source.at(x, y) = 0xF0000000u | uint32_t(y * 16 + x);
    }
    GuardedImage target(50, 40, kDstGuard);
    const auto wildInt = [&] { return kWildInts[random() % std::size(kWildInts)]; };
    const auto wildFloat = [&] { return kWild[random() % std::size(kWild)]; };
    for (int n = 0; n < 20000; ++n) {
        const int x = wildInt(), y = wildInt(), angle = (n & 1) ? wildInt() : int(random() % 360);
        const float zx = wildFloat(), zy = wildFloat();
        switch (n % 3) {
        case 0: ROTOZOOM(target.image(), source.image(), x, y, angle, zx, zy, kMagenta, wildInt(), wildInt()); break;
        case 1: ROTOZOOM_ALPHA(target.image(), source.image(), x, y, angle, zx, zy, kMagenta); break;
        default: ROTOZOOM_BLEND(target.image(), source.image(), x, y, angle, zx, zy, kMagenta, wildInt()); break;
        }
        ASSERT_TRUE(target.guardIntact()) << "draw " << n;
        ASSERT_TRUE(source.guardIntact()) << "draw " << n;
        ASSERT_TRUE(target.pixelsFreeOf(kSrcGuard)) << "read outside the source, draw " << n;
    }
}

TEST(RotozoomReference, RandomDraws_MatchTheLiteralReferencePixelForPixel)
{
    // All three drawers against the step-by-step reference: non-square sprites at any
    // angle, mirrored and huge zooms, pivots, boxes over every edge and wholly outside.
    constexpr int kWidth = 128, kHeight = 96;
    std::mt19937 random(31);
    const auto uniform = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Image* target = createImage(kWidth, kHeight);
    sprite_reference::Target reference{kWidth, kHeight, std::vector<uint32_t>(kWidth * kHeight)};
    // Random pixels below, so every blend shows; both targets then carry every draw.
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            imageRow(target, uint32_t(y))[x] = reference.pixels[size_t(y * kWidth + x)] = uint32_t(random());
        }
    }
    int changed = 0;
    for (int n = 0; n < 3000; ++n) {
        sprite_reference::Sprite sprite{between(1, 40), between(1, 40), {}};
        for (int i = 0; i < sprite.width * sprite.height; ++i) sprite.texels.push_back(uint32_t(random()));
        Image* source = createImage(uint32_t(sprite.width), uint32_t(sprite.height));
        for (int y = 0; y < sprite.height; ++y) {
            std::copy_n(&sprite.texels[size_t(y * sprite.width)], sprite.width, imageRow(source, uint32_t(y)));
        }
        const auto rule = sprite_reference::Rule(n % 3);
        // Kinds: any angle and zoom, whole quarter turns at zoom 1, huge zooms.
        const int kind = n / 3 % 3;
        const int angle = kind == 1 ? 90 * between(-4, 4) : between(-400, 400);
        const float zx = kind == 1 ? 1.0f : kind == 2 ? uniform(-40, 40) : uniform(-3, 3);
        const float zy = n % 7 == 0 ? 0.0f : kind == 1 ? 1.0f : kind == 2 ? uniform(-40, 40) : uniform(-3, 3);
        const uint32_t transparent = sprite.texels[size_t(between(0, sprite.width * sprite.height - 1))];
        sprite_reference::Draw draw{rule, between(-30, kWidth + 30), between(-30, kHeight + 30), angle, zx, zy,
                                    transparent, between(-30, 30), between(-30, 30), between(-20, 300)};
        switch (rule) {
        case sprite_reference::Rule::Copy:
            ROTOZOOM(target, source, draw.x, draw.y, angle, zx, zy, transparent, draw.px, draw.py);
            break;
        case sprite_reference::Rule::Alpha:
            ROTOZOOM_ALPHA(target, source, draw.x, draw.y, angle, zx, zy, transparent);
            break;
        case sprite_reference::Rule::Blend:
            ROTOZOOM_BLEND(target, source, draw.x, draw.y, angle, zx, zy, transparent, draw.opacity);
            break;
        }
        const std::vector<uint32_t> before = reference.pixels;
        sprite_reference::draw(reference, sprite, draw);
        changed += before != reference.pixels;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                ASSERT_EQ(imageRow(target, uint32_t(y))[x], reference.pixels[size_t(y * kWidth + x)])
                    << "draw " << n << " pixel " << x << "," << y;
            }
        }
        destroyImage(source);
    }
    EXPECT_GT(changed, 1000) << "most draws must reach the target";
    destroyImage(target);
}
