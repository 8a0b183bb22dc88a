// Drawing a model as a textured fan around its origin on the screen, and knowing when
// a fan would draw nothing on a target.
#include "space/camera.h"
#include "render/image.h"
#include "model/model.h"
#include "support/screen_fixture.h"
#include "render/triangles.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr uint32_t kLeftColour = 0xFF102030;
constexpr uint32_t kRightColour = 0xFF405060;

// A diamond of the given radius; every texture point lies at grid x texGridX.
Model diamond(float radius, float texGridX)
{
    Model model;
    for (Vec2f end : {Vec2f{radius, 0.0f}, Vec2f{0.0f, radius}, Vec2f{-radius, 0.0f}, Vec2f{0.0f, -radius}}) {
        ModelLine line;
        line.end = end;
        line.texEnd = {texGridX, 16.0f};
        model.lines.push_back(line);
    }
    model.transformed = model.lines;
    Camera camera;
    TRANSFORM(model, {}, 0.0f, 2.0f, camera, false);
    return model;
}

class ModelDrawing : public HeadlessScreen {
protected:
    void SetUp() override
    {
        HeadlessScreen::SetUp();
        ASSERT_TRUE(allocateDepthBuffer(SCREEN_WIDTH, SCREEN_HEIGHT));
        // Texels left of u = 64 one colour, the rest another.
        texture = createImage(256, 256);
        for (uint32_t y = 0; y < 256; ++y) {
            for (uint32_t x = 0; x < 256; ++x) imageRow(texture, y)[x] = x < 64 ? kLeftColour : kRightColour;
        }
        SCREEN_LOCK();
    }
    void TearDown() override
    {
        SCREEN_UNLOCK();
        destroyImage(texture);
        freeDepthBuffer();
        HeadlessScreen::TearDown();
    }

    Image* texture = nullptr;
};

} // namespace

TEST_F(ModelDrawing, Fan_FillsTheTransformedOutlineAroundTheOrigin)
{
    // Texture x of 4 grid units is 32 texels, in the left part; the fan's third corner
    // samples the centre (128), so pixels near the origin may take the right colour.
    DRAW_MODEL(diamond(10.0f, 4.0f), {100.0f, 200.0f}, 0, texture, false);
    const int drawn = countPixels(kLeftColour) + countPixels(kRightColour);
    EXPECT_NEAR(drawn, 2 * 20 * 20, 60) << "a diamond of radius 20 after the scale of 2";
    EXPECT_GT(countPixels(kLeftColour), drawn / 3);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            if (pixel(x, y) != kBlack && pixel(x, y) != 0) {
                EXPECT_LE(std::abs(x - 100) + std::abs(y - 200), 21) << x << "," << y;
            }
        }
    }
}

TEST_F(ModelDrawing, TexturePoints_ComeFromTheLinesInGridUnitsOfEightTexels)
{
    // Corners at grid x 20 = 160 texels and the centre at 128: none left of 64.
    DRAW_MODEL(diamond(10.0f, 20.0f), {300.0f, 200.0f}, 0, texture, true);
    EXPECT_GT(countPixels(kRightColour), 700);
    EXPECT_EQ(countPixels(kLeftColour), 0);
}

TEST_F(ModelDrawing, EmptyOrUntransformedModels_DrawNothing)
{
    Model untransformed = diamond(10.0f, 4.0f);
    untransformed.transformed.clear();
    DRAW_MODEL(Model{}, {100.0f, 100.0f}, 0, texture, false);
    DRAW_MODEL(untransformed, {100.0f, 100.0f}, 0, texture, false);
    EXPECT_EQ(countPixels(kLeftColour) + countPixels(kRightColour), 0);
}

namespace {

// A star of 3 to 12 points of random size, turned and scaled as TRANSFORM does.
Model randomFan(std::mt19937& random)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Model model;
    const size_t points = 3 + random() % 10;
    const float size = random() % 50 == 0 ? 5000.0f : 1.0f + 40.0f * unit(random);
    for (size_t p = 0; p < points; ++p) {
        const float turn = 6.2831853f * static_cast<float>(p) / static_cast<float>(points);
        ModelLine line;
        line.end = Vec2f{std::cos(turn), std::sin(turn)} * (size * (0.3f + unit(random)));
        model.lines.push_back(line);
    }
    TRANSFORM(model, {}, 6.0f * unit(random), 0.5f + 3.0f * unit(random), Camera{}, false);
    return model;
}

// Draws the fan onto the target as the world drawing does; true if a pixel changed.
bool drawsOn(Image* target, const Model& model, Vec2f origin, const Image* texture)
{
    for (uint32_t y = 0; y < target->height; ++y) std::fill_n(imageRow(target, y), target->width, 0u);
    clearDepthBuffer();
    for (const ModelLine& line : model.transformed) {
        const Vec2f a = line.start + origin;
        const Vec2f b = line.end + origin;
        TFPCSPTRI_ORIG(target, a.x, a.y, 1.0f, 0, 0, b.x, b.y, 1.0f, 5, 0, origin.x, origin.y, 1.0f, 0, 5, 8, texture);
    }
    for (uint32_t y = 0; y < target->height; ++y) {
        const uint32_t* row = imageRow(target, y);
        if (std::any_of(row, row + target->width, [](uint32_t p) { return p != 0; })) return true;
    }
    return false;
}

} // namespace

TEST_F(ModelDrawing, FanMissesTarget_OnlyForFansThatDrawNothingAndForMostOfThem)
{
    constexpr int kWidth = 64;
    constexpr int kHeight = 48;
    Image* target = createImage(kWidth, kHeight);
    ASSERT_TRUE(allocateDepthBuffer(kWidth, kHeight));
    std::mt19937 random(64);
    std::uniform_real_distribution<float> across(-90.0f, kWidth + 90.0f);
    std::uniform_real_distribution<float> down(-90.0f, kHeight + 90.0f);
    std::uniform_real_distribution<float> nearEdge(-3.0f, 3.0f);
    int blank = 0;
    int skipped = 0;
    for (int n = 0; n < 6000; ++n) {
        const Model fan = randomFan(random);
        Vec2f origin{across(random), down(random)};
        if (n % 2 == 0) { // the fan's own edge close to one of the target's
            float left = origin.x, right = origin.x, top = origin.y, bottom = origin.y;
            for (const ModelLine& line : fan.transformed) {
                left = std::min(left, origin.x + line.end.x);
                right = std::max(right, origin.x + line.end.x);
                top = std::min(top, origin.y + line.end.y);
                bottom = std::max(bottom, origin.y + line.end.y);
            }
            const float shifts[] = {-right, kWidth - left, -bottom, kHeight - top};
            const size_t side = random() % 4;
            (side < 2 ? origin.x : origin.y) += shifts[side] + nearEdge(random);
        }
        const bool drawn = drawsOn(target, fan, origin, texture);
        const bool misses = fanMissesTarget(fan, origin, kWidth, kHeight);
        ASSERT_FALSE(misses && drawn) << "fan " << n << " was skipped but draws";
        blank += !drawn;
        skipped += misses;
    }
    EXPECT_GT(skipped, blank * 4 / 5) << "of " << blank << " fans that draw nothing";

    // A fan that is not a finite number anywhere is never judged.
    Model wild = diamond(10.0f, 4.0f);
    wild.transformed[1].end = {NAN, 1.0f};
    EXPECT_FALSE(fanMissesTarget(wild, {-500.0f, -500.0f}, kWidth, kHeight));
    wild.transformed[1].end = {-INFINITY, 1.0f};
    EXPECT_FALSE(fanMissesTarget(wild, {-500.0f, -500.0f}, kWidth, kHeight));
    freeDepthBuffer();
    ASSERT_TRUE(allocateDepthBuffer(SCREEN_WIDTH, SCREEN_HEIGHT));
    destroyImage(target);
}
