// The game's frame on the headless backend: what a frame draws, how it measures
// time, and that Escape ends the game only after the frame has been shown.
#include "game_fixture.h"
#include "game/hud.h"
#include "render/image.h"
#include "png/png.h"
#include "support/scratch_folder.h"
#include "support/screen_fixture.h"
#include "space/world_size.h"

#include <filesystem>
#include <functional>

namespace {

constexpr uint32_t kYellow = 0xFFFFFF00;

using GameFrames = StartedGame;

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
    dropBackground();
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
    EXPECT_EQ(error, "cannot open the 640 x 480 window: no display here");
    headless::reset();
}

TEST_F(GameFrames, StartUp_LoadsTheShipAndFliesInFromZoomFour)
{
    EXPECT_EQ(game.player.model.lines.size(), 4u) << "data/model/Ship.mdata holds a four-line outline";
    headless::advanceTime(0.02);
    runGameFrame(game);
    EXPECT_EQ(game.camera.zoom, 4.0f) << "the start zoom of 10 is bounded by the first update";
    for (int frame = 0; frame < 100; ++frame) {
        headless::advanceTime(0.02);
        runGameFrame(game);
    }
    EXPECT_NEAR(game.camera.zoom, 1.0f, 1e-3f);
}

TEST_F(GameFrames, Background_IsTheWorldSeenThroughTheCamera)
{
    // Hold the view still at zoom 1: screen pixel (x, y) shows world point
    // (x, y) + position, so moving the camera slides the stars the other way.
    ASSERT_NE(game.images.background, nullptr);
    EXPECT_EQ(WORLD_W, 2048);
    EXPECT_EQ(WORLD_H, 1536);
    Camera& camera = game.camera;
    camera.zoom = camera.targetZoom = 1.0f;
    // The ship and the asteroids (and the shield around the ship) far from the view.
    game.player.position = {1800.0f, 1300.0f};
    for (Entity& asteroid : game.asteroids) asteroid.position = {1800.0f, 1300.0f};
    for (const Vec2f position : {Vec2f{300.0f, 200.0f}, Vec2f{310.0f, 197.0f}}) {
        camera.position = camera.target = position;
        runGameFrame(game);
        int compared = 0;
        for (int y = 0; y < 470; y += 7) {
            for (int x = 0; x < SCREEN_WIDTH; x += 5) {
                const uint32_t world = imageRow(game.images.background, y + int(position.y))[x + int(position.x)];
                ASSERT_EQ(screenPixel(x, y), world) << x << "," << y;
                compared += world != 0xFF000000u;
            }
        }
        EXPECT_GT(compared, 100) << "the comparison must see stars, not only black";
    }
}

TEST_F(GameFrames, Background_ShrinksWithTheZoom)
{
    // At zoom 0.25 the whole 2048 x 1536 world is 512 x 384 pixels: the camera bounds
    // put its far corner at the screen's, and the rest of the screen stays black.
    Camera& camera = game.camera;
    camera.zoom = camera.targetZoom = 0.25f;
    runGameFrame(game);
    for (int y = 0; y < 470; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            if (x < 128 || y < 96) {
                ASSERT_EQ(screenPixel(x, y), 0xFF000000u) << x << "," << y;
            }
        }
    }
}

namespace {

// Runs start-up in a scratch folder holding only what prepare() puts there.
std::string startUpErrorIn(const std::function<void(const std::filesystem::path&)>& prepare)
{
    const ScratchFolder scratch("game_start", {"visual"});
    prepare(scratch.path());
    headless::reset();
    Game game;
    std::string error;
    const bool started = startGame(game, error);
    if (started) endGame(game);
    headless::reset();
    return started ? "started" : error;
}

} // namespace

TEST(GameStart, MissingTextureFailsNamingTheFile)
{
    const std::string error = startUpErrorIn([](const std::filesystem::path&) {});
    EXPECT_NE(error.find("data/visual/rock.png"), std::string::npos) << error;
}

TEST(GameStart, MissingOrDamagedBackgroundFailsNamingTheFile)
{
    const std::filesystem::path source = std::filesystem::path(SOURCE_DIR) / "data" / "visual";
    for (const bool damaged : {false, true}) {
        // Damaged: its header (and so the world size) intact, the picture cut short.
        const std::string error = startUpErrorIn([&](const std::filesystem::path& scratch) {
            for (const char* file : {"rock.png", "ship3.png", "grad.png", "fire2.png"}) {
                std::filesystem::copy_file(source / file, scratch / "data" / "visual" / file);
            }
            if (damaged) {
                std::filesystem::copy_file(source / "space.png", scratch / "data" / "visual" / "space.png");
                std::filesystem::resize_file(scratch / "data" / "visual" / "space.png", 4096);
            }
        });
        EXPECT_EQ(error.find("data/visual/space.png: "), 0u) << error;
    }
}

TEST(GameStart, TextureThatCannotWrapFailsNamingTheFile)
{
    // Every texture present, but the ship's is 9 x 9: the filler could not wrap it.
    const std::string error = startUpErrorIn([](const std::filesystem::path& scratch) {
        const std::filesystem::path source = std::filesystem::path(SOURCE_DIR) / "data" / "visual";
        for (const char* file : {"rock.png", "grad.png", "fire2.png", "space.png"}) {
            std::filesystem::copy_file(source / file, scratch / "data" / "visual" / file);
        }
        std::filesystem::copy_file(std::filesystem::path(SOURCE_DIR) / "tests/data/pngsuite/s09n3p02.png",
                                   scratch / "data" / "visual" / "ship3.png");
    });
    EXPECT_EQ(error.find("data/visual/ship3.png"), 0u) << error;
}
