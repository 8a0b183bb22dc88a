// The triangle fillers: the rows and columns they cover against an independent
// double-precision rasteriser, every pixel and depth entry against a literal float
// reference, the depth rule, texel addressing and brightness, and that no input,
// however wild, makes them write outside their target.
#include "render/triangles.h"

#include "support/guarded_image.h"
#include "render/image.h"
#include "render/simd.h"
#include "render/simd_portable.h"
#include "support/screen_fixture.h"
#include "triangle_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kGuardColour = 0x13579BDF;

struct Point {
    float x, y;
};

// Owns a depth buffer for one test and frees it whatever happens.
struct DepthBuffer {
    DepthBuffer(int width, int height) { EXPECT_TRUE(allocateDepthBuffer(width, height)); }
    ~DepthBuffer() { freeDepthBuffer(); }
};

void flat(Image* target, Point a, Point b, Point c, uint32_t colour, float z = 1.0f)
{
    FTRI(target, a.x, a.y, z, b.x, b.y, z, c.x, c.y, z, colour);
}

// An independent rasteriser in doubles: row r is covered when its centre, r + 1 after
// the half-pixel shift, lies in (top, bottom]; column c when round(left) <= c <
// round(right) at that height. 'unsure' marks pixels whose edge lands within a hair
// of a rounding tie or a vertex row, where float and double may rightly differ.
struct Reference {
    std::vector<int> covered, unsure;
    int width, height;
    Reference(int w, int h) : covered(size_t(w) * size_t(h)), unsure(size_t(w) * size_t(h)), width(w), height(h) {}

    void add(Point a, Point b, Point c)
    {
        double xs[3] = {a.x + 0.5, b.x + 0.5, c.x + 0.5}, ys[3] = {a.y + 0.5, b.y + 0.5, c.y + 0.5};
        const double top = std::min({ys[0], ys[1], ys[2]}), bottom = std::max({ys[0], ys[1], ys[2]});
        for (int r = 0; r < height; ++r) {
            const double y = r + 1;
            if (!(y > top && y <= bottom)) continue;
            bool nearVertex = std::abs(y - top) < 1e-3 || std::abs(y - bottom) < 1e-3;
            double lo = 1e30, hi = -1e30;
            for (int i = 0; i < 3; ++i) {
                const int j = (i + 1) % 3;
                const double y0 = ys[i], y1 = ys[j];
                if (y0 == y1 || y < std::min(y0, y1) || y > std::max(y0, y1)) continue;
                nearVertex |= std::abs(y - y0) < 1e-3 || std::abs(y - y1) < 1e-3;
                const double x = xs[i] + (xs[j] - xs[i]) * (y - y0) / (y1 - y0);
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
            const auto tie = [](double x) { return std::abs(x - std::floor(x) - 0.5) < 1e-3; };
            const double left = std::nearbyint(lo), right = std::nearbyint(hi);
            for (int col = 0; col < width; ++col) {
                const size_t i = size_t(r) * size_t(width) + size_t(col);
                if (col >= left && col < right) ++covered[i];
                if (nearVertex || (tie(lo) && std::abs(col - lo) < 1) || (tie(hi) && std::abs(col - hi) < 1)) {
                    unsure[i] = 1;
                }
            }
        }
    }
};

// Pixels of the image equal to the colour, as 0/1 per pixel.
std::vector<int> coverage(const Image* image, uint32_t colour)
{
    std::vector<int> out;
    for (uint32_t y = 0; y < image->height; ++y) {
        for (uint32_t x = 0; x < image->width; ++x) out.push_back(imageRow(image, y)[x] == colour);
    }
    return out;
}

Image* texture64(uint32_t colour)
{
    Image* texture = createImage(64, 64);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) imageRow(texture, y)[x] = colour;
    }
    return texture;
}

// A textured triangle covering the top left of the target with constant u, v.
void constantTexel(Image* target, float u, float v, int brightness, const Image* texture)
{
    TFPCSPTRI_ORIG(target, 0, 0, 1, u, v, 60, 0, 1, u, v, 0, 60, 1, u, v, brightness, texture);
}

} // namespace

using Triangles = HeadlessScreen;

TEST_F(Triangles, RowsFollowTheFloorOfTheShiftedVertices)
{
    DepthBuffer depth(SCREEN_WIDTH, SCREEN_HEIGHT);
    SCREEN_LOCK();
    flat(nullptr, {100, 10.2f}, {400, 20.7f}, {50, 20.7f}, kRed);
    SCREEN_UNLOCK();
    for (int y = 0; y < 40; ++y) {
        int count = 0;
        for (int x = 0; x < SCREEN_WIDTH; ++x) count += pixel(x, y) == kRed;
        EXPECT_EQ(count > 0, y >= 10 && y <= 20) << "row " << y;
    }
}

TEST_F(Triangles, DegenerateTriangles_DrawNothing)
{
    DepthBuffer depth(SCREEN_WIDTH, SCREEN_HEIGHT);
    SCREEN_LOCK();
    flat(nullptr, {0, 10.1f}, {600, 10.3f}, {300, 10.4f}, kRed);  // one pixel row, however wide
    flat(nullptr, {5.1f, 0}, {5.2f, 300}, {5.4f, 100}, kRed);     // one pixel column
    flat(nullptr, {10, 10}, {100, 100}, {200, 200}, kRed);        // zero area
    SCREEN_UNLOCK();
    EXPECT_EQ(countPixels(kRed), 0);
}

TEST_F(Triangles, EqualDepth_KeepsTheFirstTriangle_NearerOneOverwrites)
{
    DepthBuffer depth(SCREEN_WIDTH, SCREEN_HEIGHT);
    SCREEN_LOCK();
    flat(nullptr, {0, 0}, {100, 0}, {0, 100}, kRed);
    flat(nullptr, {0, 0}, {100, 0}, {100, 100}, kGreen); // overlaps the red one's upper half
    SCREEN_UNLOCK();
    EXPECT_EQ(pixel(60, 10), kRed);
    EXPECT_EQ(pixel(90, 50), kGreen);
    SCREEN_LOCK();
    flat(nullptr, {0, 0}, {100, 0}, {100, 100}, kGreen, 0.5f);
    SCREEN_UNLOCK();
    EXPECT_EQ(pixel(60, 10), kGreen);
}

TEST_F(Triangles, BehindTheViewer_NeverBeatsAClearedBuffer)
{
    DepthBuffer depth(SCREEN_WIDTH, SCREEN_HEIGHT);
    SCREEN_LOCK();
    flat(nullptr, {0, 0}, {100, 0}, {0, 100}, kRed, -1.0f);
    SCREEN_UNLOCK();
    EXPECT_EQ(countPixels(kRed), 0);
}

TEST_F(Triangles, PartlyAboveTheScreen_StartsAtRowZeroAsIfWalkedFromItsTop)
{
    // Power-of-two slopes and quarter-pixel vertices keep every edge value exact, so
    // jumping over the hidden rows must land where walking them would. In the second
    // triangle the whole upper part is hidden and the lower one starts clipped too.
    const Point triangles[2][3] = {{{100, -40.25f}, {228, 87.75f}, {36, 215.75f}},
                                   {{300, -100.25f}, {364, -36.25f}, {220, 219.75f}}};
    constexpr int kShift = 128;
    for (const auto& t : triangles) {
        Image* tall = createImage(SCREEN_WIDTH, SCREEN_HEIGHT + kShift);
        {
            DepthBuffer depth(SCREEN_WIDTH, SCREEN_HEIGHT + kShift);
            flat(tall, {t[0].x, t[0].y + kShift}, {t[1].x, t[1].y + kShift}, {t[2].x, t[2].y + kShift}, kRed);
        }
        DepthBuffer depth(SCREEN_WIDTH, SCREEN_HEIGHT);
        SCREEN_LOCK();
        SCREEN_CLEAR();
        flat(nullptr, t[0], t[1], t[2], kRed);
        SCREEN_UNLOCK();
        int drawnOnRowZero = 0;
        for (int y = 0; y < SCREEN_HEIGHT; ++y) {
            for (int x = 0; x < SCREEN_WIDTH; ++x) {
                const bool expected = imageRow(tall, uint32_t(y + kShift))[x] == kRed;
                ASSERT_EQ(pixel(x, y) == kRed, expected) << x << "," << y;
                drawnOnRowZero += y == 0 && expected;
            }
        }
        EXPECT_GT(drawnOnRowZero, 0);
        destroyImage(tall);
    }
}

TEST_F(Triangles, RandomTriangles_MatchTheSlowReferenceAwayFromTies)
{
    constexpr int kSize = 96;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-20.0f, kSize + 20.0f);
    Image* image = createImage(kSize, kSize);
    DepthBuffer depth(kSize, kSize);
    int compared = 0;
    for (int n = 0; n < 300; ++n) {
        const Point a{coordinate(random), coordinate(random)}, b{coordinate(random), coordinate(random)},
            c{coordinate(random), coordinate(random)};
        std::memset(imagePixels(image), 0, size_t(image->pitch) * kSize);
        clearDepthBuffer();
        flat(image, a, b, c, kRed);
        Reference reference(kSize, kSize);
        reference.add(a, b, c);
        const std::vector<int> drawn = coverage(image, kRed);
        for (size_t i = 0; i < drawn.size(); ++i) {
            if (reference.unsure[i]) continue;
            ASSERT_EQ(drawn[i], reference.covered[i]) << "triangle " << n << " pixel " << i % kSize << ","
                                                      << i / kSize;
            ++compared;
        }
    }
    EXPECT_GT(compared, 300 * kSize * kSize * 9 / 10);
    destroyImage(image);
}

TEST_F(Triangles, TwoTrianglesSharingAnEdge_CoverTheirUnionExactlyOnce)
{
    // Quads split along the diagonal from their top to their bottom corner, at random
    // sub-pixel positions: each pixel is drawn by exactly one of the halves.
    constexpr int kSize = 128;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Image* first = createImage(kSize, kSize);
    Image* second = createImage(kSize, kSize);
    DepthBuffer depth(kSize, kSize);
    for (int n = 0; n < 200; ++n) {
        const Point top{10 + 100 * unit(random), 2 + 10 * unit(random)};
        const Point bottom{10 + 100 * unit(random), 110 + 15 * unit(random)};
        // Left and right of both ends of the diagonal, so the quad is convex.
        const Point left{std::min(top.x, bottom.x) - 1 - 30 * unit(random), 20 + 80 * unit(random)};
        const Point right{std::max(top.x, bottom.x) + 1 + 30 * unit(random), 20 + 80 * unit(random)};
        for (Image* image : {first, second}) std::memset(imagePixels(image), 0, size_t(image->pitch) * kSize);
        clearDepthBuffer();
        flat(first, top, left, bottom, kRed);
        clearDepthBuffer();
        flat(second, bottom, right, top, kRed); // other winding, other vertex order
        Reference reference(kSize, kSize);
        reference.add(top, left, bottom);
        reference.add(bottom, right, top);
        const std::vector<int> a = coverage(first, kRed), b = coverage(second, kRed);
        for (size_t i = 0; i < a.size(); ++i) {
            ASSERT_FALSE(a[i] && b[i]) << "drawn twice: quad " << n << " pixel " << i % kSize << "," << i / kSize;
            if (!reference.unsure[i]) {
                ASSERT_EQ(a[i] + b[i], reference.covered[i] ? 1 : 0) << "quad " << n << " pixel " << i % kSize
                                                                      << "," << i / kSize;
            }
        }
    }
    destroyImage(first);
    destroyImage(second);
}

TEST_F(Triangles, WildCoordinates_NeverWriteOutsideAGuardedTarget)
{
    const float kWild[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(), 3e38f, -3e38f, 1e9f, -1e9f, 2147483648.0f,
                           -0.5f, 0.0f, 33.5f, 70.0f, 1e-30f};
    std::mt19937 random(3);
    std::uniform_real_distribution<float> near(-100.0f, 200.0f);
    const auto pick = [&](float odds) {
        return std::uniform_real_distribution<float>(0, 1)(random) < odds ? kWild[random() % std::size(kWild)]
                                                                           : near(random);
    };
    GuardedImage target(70, 50, kGuardColour);
    Image* texture = texture64(0xFF808080);
    DepthBuffer depth(70, 50);
    for (int n = 0; n < 20000; ++n) {
        const float odds = (n % 4) * 0.2f;
        float v[15];
        for (float& value : v) value = pick(odds);
        for (int i : {2, 7, 12}) v[i] = (n & 1) ? std::abs(v[i]) : v[i]; // mostly sane depths
        clearDepthBuffer();
        FTRI(target.image(), v[0], v[1], v[2], v[5], v[6], v[7], v[10], v[11], v[12], kRed);
        clearDepthBuffer();
        TFPCSPTRI_ORIG(target.image(), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11],
                       v[12], v[13], v[14], int(random()), texture);
        ASSERT_TRUE(target.guardIntact()) << "triangle " << n;
    }
    destroyImage(texture);
}

TEST_F(Triangles, DepthBufferSmallerThanTheTarget_LimitsTheRowsDrawn)
{
    Image* image = createImage(64, 40);
    DepthBuffer depth(64, 10);
    flat(image, {-10, -10}, {200, -10}, {-10, 200}, kRed);
    EXPECT_EQ(imageRow(image, 9)[0], kRed);
    for (uint32_t y = 10; y < 40; ++y) EXPECT_EQ(imageRow(image, y)[0], 0u) << y;
    freeDepthBuffer();
    flat(image, {-10, -10}, {200, -10}, {-10, 200}, kGreen); // no buffer: nothing at all
    EXPECT_EQ(imageRow(image, 0)[0], kRed);
    destroyImage(image);
}

TEST_F(Triangles, ImageWhoseRowsArePadded_IsDrawnByItsPitch)
{
    // Width 9 gives 64-byte rows: stepping by width * 4 would shear the triangle.
    Image* narrow = createImage(9, 20);
    Image* wide = createImage(16, 20);
    DepthBuffer depth(16, 20);
    flat(wide, {0, 0}, {15, 3}, {2, 19}, kRed);
    clearDepthBuffer();
    flat(narrow, {0, 0}, {15, 3}, {2, 19}, kRed);
    for (uint32_t y = 0; y < 20; ++y) {
        for (uint32_t x = 0; x < 9; ++x) EXPECT_EQ(imageRow(narrow, y)[x], imageRow(wide, y)[x]) << x << "," << y;
    }
    destroyImage(narrow);
    destroyImage(wide);
}

TEST_F(Triangles, Brightness_SaturatesEachByteAndSpillsAbove255)
{
    Image* texture = texture64(0xFFF80810);
    Image* target = createImage(64, 64);
    DepthBuffer depth(64, 64);
    const std::pair<int, uint32_t> cases[] = {{8, 0xFFFF1018}, {-8, 0xF7F00008}, {256, 0xFFF90910}, {0, 0xFFF80810}};
    for (const auto& [brightness, expected] : cases) {
        clearDepthBuffer();
        constantTexel(target, 3, 3, brightness, texture);
        EXPECT_EQ(imageRow(target, 5)[5], expected) << "brightness " << brightness;
    }
    destroyImage(texture);
    destroyImage(target);
}

// The helpers in the form this build runs and in their portable form, which a build on
// another processor runs: they must give the SSE conversion's and saturating adds' bits.
TEST(PixelHelpers, RoundToInt_TiesToEvenAndIntMinForWhatNoIntHolds)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const std::pair<float, int32_t> cases[] = {
        {0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {-0.5f, 0}, {-1.5f, -2}, {-2.5f, -2}, {0.49999997f, 0}, {4194304.5f, 4194304},
        {2147483520.0f, 2147483520}, {-2147483648.0f, INT32_MIN}, {2147483648.0f, INT32_MIN},
        {-2147483904.0f, INT32_MIN}, {kInfinity, INT32_MIN}, {-kInfinity, INT32_MIN},
        {std::numeric_limits<float>::quiet_NaN(), INT32_MIN}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(simd::roundToInt(value), expected) << value;
        EXPECT_EQ(simd_portable::roundToInt(value), expected) << value;
    }
}

TEST(PixelHelpers, SaturatingBytes_ClampEachByteOnItsOwn)
{
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t b = 0; b < 256; ++b) {
            // Each byte lane gets its own pair, so a carry or borrow into the next shows.
            const uint32_t packed = a | (255 - a) << 8 | b << 16 | a << 24;
            const uint32_t offset = b | b << 8 | a << 16 | (255 - b) << 24;
            uint32_t sum = 0, difference = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int x = int(packed >> shift & 0xFF), y = int(offset >> shift & 0xFF);
                sum |= uint32_t(std::min(x + y, 255)) << shift;
                difference |= uint32_t(std::max(x - y, 0)) << shift;
            }
            ASSERT_EQ(simd::addBytesSaturated(packed, offset), sum) << a << " " << b;
            ASSERT_EQ(simd_portable::addBytesSaturated(packed, offset), sum) << a << " " << b;
            ASSERT_EQ(simd::subtractBytesSaturated(packed, offset), difference) << a << " " << b;
            ASSERT_EQ(simd_portable::subtractBytesSaturated(packed, offset), difference) << a << " " << b;
        }
    }
}

TEST_F(Triangles, TexelCoordinates_WrapByMasks)
{
    Image* texture = createImage(64, 64);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) imageRow(texture, y)[x] = 0xFF000000 | y << 8 | x;
    }
    Image* target = createImage(64, 64);
    DepthBuffer depth(64, 64);
    constantTexel(target, -1, 5, 0, texture);
    EXPECT_EQ(imageRow(target, 5)[5], 0xFF00053Fu); // column 63, row 5
    clearDepthBuffer();
    constantTexel(target, 64 + 2, -64 - 3, 0, texture);
    EXPECT_EQ(imageRow(target, 5)[5], 0xFF003D02u); // column 2, row 61
    destroyImage(texture);
    destroyImage(target);
}

TEST_F(Triangles, TexelCoordinates_RoundToNearestWithTiesToEven)
{
    // u = screen x: pixel c samples u = c + 0.5, a tie that goes to the even column.
    Image* texture = createImage(64, 64);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) imageRow(texture, y)[x] = 0xFF000000 | y << 8 | x;
    }
    Image* target = createImage(64, 64);
    DepthBuffer depth(64, 64);
    TFPCSPTRI_ORIG(target, 0, 0, 1, 0, 0, 64, 0, 1, 64, 0, 0, 64, 1, 0, 64, 0, texture);
    for (uint32_t x = 0; x < 40; ++x) {
        const uint32_t u = uint32_t(std::nearbyint(x + 0.5));
        EXPECT_EQ(imageRow(target, 0)[x], 0xFF000000 | u) << x; // row 0 samples v = 0.5: even row 0
    }
    destroyImage(texture);
    destroyImage(target);
}

TEST_F(Triangles, PerspectiveCorrection_FollowsOneOverZ)
{
    // A span from z = 1 to z = 3 with u from 0 to 60: halfway across the screen the
    // texel is where 1/z is halfway, u = 15, not the affine 30.
    Image* texture = createImage(64, 64);
    for (uint32_t x = 0; x < 64; ++x) imageRow(texture, 0)[x] = 0xFF000000 | x;
    Image* target = createImage(128, 8);
    DepthBuffer depth(128, 8);
    TFPCSPTRI_ORIG(target, -0.5f, -0.5f, 1, 0, 0, 119.5f, -0.5f, 3, 60, 0, -0.5f, 7.5f, 1, 0, 0, 0, texture);
    const double t = 60.0 / 120.0; // column 59's centre lies 60 of the span's 120 pixels in
    const double w = (1 - t) * 1.0 + t / 3.0, uw = t * 60.0 / 3.0;
    EXPECT_EQ(imageRow(target, 0)[59] & 0xFF, uint32_t(std::nearbyint(uw / w)));
    EXPECT_EQ(uint32_t(std::nearbyint(uw / w)), 15u);
    destroyImage(texture);
    destroyImage(target);
}

TEST_F(Triangles, TextureWhosePitchIsNotAPowerOfTwo_DrawsNothing)
{
    Image* texture = createImage(24, 16); // 96-byte rows: a shift cannot address them
    Image* target = createImage(64, 64);
    DepthBuffer depth(64, 64);
    constantTexel(target, 1, 1, 0, texture);
    constantTexel(target, 1, 1, 0, nullptr);
    EXPECT_EQ(imageRow(target, 5)[5], 0u);
    destroyImage(texture);
    destroyImage(target);
}

namespace {

// One random case of the comparison below: a kind of triangle, drawn by both fillers.
struct RandomCorners {
    std::mt19937& random;
    int width, height;

    float uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); }

    // Kinds: 0 inside the target, 1 far over its edges, 2 huge, 3 on half pixels
    // (rounding ties everywhere), 4 thin slivers.
    triangle_reference::Corner corner(int kind, float sliverY)
    {
        float x, y;
        switch (kind) {
        case 0: x = uniform(-8, width + 8), y = uniform(-8, height + 8); break;
        case 1: x = uniform(-3 * width, 4 * width), y = uniform(-3 * height, 4 * height); break;
        case 2: x = uniform(-1e5f, 1e5f), y = uniform(-1e5f, 1e5f); break;
        case 3: x = std::round(uniform(-8, width + 8) * 2) / 2, y = std::round(uniform(-8, height + 8) * 2) / 2; break;
        default: x = uniform(-8, width + 8), y = sliverY + uniform(0, 1.5f); break;
        }
        return {x, y, uniform(0.25f, 4.0f), uniform(-200, 200), uniform(-200, 200)};
    }
};

} // namespace

TEST_F(Triangles, RandomTriangles_MatchTheLiteralReferencePixelAndDepthExactly)
{
    // Both fillers against the step-by-step reference over thousands of seeded cases,
    // three triangles per case into the same buffers so the depth test meets earlier
    // depths. Every pixel and every depth entry must be equal, bit for bit.
    constexpr int kWidth = 96, kHeight = 72;
    std::mt19937 random(2024);
    triangle_reference::Texture texture{32, 16, std::vector<uint32_t>(32 * 16), 0};
    for (uint32_t& texel : texture.texels) texel = uint32_t(random());
    Image* textureImage = createImage(32, 16);
    for (uint32_t y = 0; y < 16; ++y) std::copy_n(&texture.texels[y * 32], 32, imageRow(textureImage, y));
    Image* image = createImage(kWidth, kHeight);
    DepthBuffer depth(kWidth, kHeight);
    RandomCorners corners{random, kWidth, kHeight};
    long drawn = 0;
    for (int n = 0; n < 3000; ++n) {
        const int kind = n % 5;
        const bool textured = n % 2 == 0;
        std::memset(imagePixels(image), 0, size_t(image->pitch) * kHeight);
        clearDepthBuffer();
        triangle_reference::Target reference(kWidth, kHeight);
        for (int t = 0; t < 3; ++t) {
            const float sliverY = corners.uniform(-4, kHeight + 4);
            const triangle_reference::Corner a = corners.corner(kind, sliverY), b = corners.corner(kind, sliverY),
                                             c = corners.corner(kind, sliverY);
            if (textured) {
                texture.brightness = int(random() % 601) - 300;
                TFPCSPTRI_ORIG(image, a.x, a.y, a.z, a.u, a.v, b.x, b.y, b.z, b.u, b.v, c.x, c.y, c.z, c.u, c.v,
                               texture.brightness, textureImage);
                triangle_reference::fill(reference, a, b, c, texture);
            } else {
                const uint32_t colour = 0xFF000000 | uint32_t(random());
                FTRI(image, a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z, colour);
                triangle_reference::fill(reference, a, b, c, triangle_reference::Flat{colour});
            }
        }
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const size_t at = size_t(y) * kWidth + size_t(x);
                ASSERT_EQ(imageRow(image, uint32_t(y))[x], reference.pixels[at])
                    << "case " << n << " pixel " << x << "," << y;
                ASSERT_EQ(DEPTH_BUFFER[at], reference.depth[at]) << "case " << n << " depth " << x << "," << y;
                drawn += reference.depth[at] != 0.0f;
            }
        }
    }
    EXPECT_GT(drawn, 3000L * kWidth * kHeight / 5) << "the cases must cover a good part of the target";
    destroyImage(image);
    destroyImage(textureImage);
}
