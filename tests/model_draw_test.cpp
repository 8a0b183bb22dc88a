// Drawing a model as a textured fan around its origin on the screen.
#include "camera.h"
#include "image.h"
#include "model.h"
#include "screen_fixture.h"
#include "triangles.h"

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
