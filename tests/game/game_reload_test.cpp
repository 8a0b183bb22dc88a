// Flying every save at once: the game follows its ship file and, when it is saved
// anew, swaps the outline in within a second, keeping the ship's state; a file
// that cannot be read leaves the old ship flying and is reported once. A demo
// being recorded keeps the ship it started with.
#include "support/child_task.h"
#include "support/editor_fixture.h"
#include "game/game.h"
#include "game/game_demo.h"
#include "game/ship_reload.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

Model outline(std::initializer_list<Vec2f> ends) { return editor_test::modelWith(ends, {}); }

// The game from the repository's data, flying the player's own ship from a folder of
// its own.
class GameReload : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "game_reload_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        game.ownShip = (folder / "Ship.mdata").string(); // flown, being there
        save(outline({{0, -10}, {8, 8}, {0, 4}, {-8, 8}}));
        headless::reset();
        headless::setTime(1000.0);
        std::string error;
        ASSERT_TRUE(startGame(game, error)) << error;
        for (int i = 0; i < 5; ++i) frame(0.1);
    }
    void TearDown() override
    {
        endGame(game);
        headless::reset();
        fs::remove_all(folder);
    }
    void save(const Model& model)
    {
        std::string error;
        ASSERT_TRUE(writeModelFile(model, game.ownShip, error)) << error;
    }
    void frame(double seconds)
    {
        headless::advanceTime(seconds);
        ASSERT_TRUE(runGameFrame(game));
    }

    fs::path folder;
    Game game;
};

} // namespace

TEST_F(GameReload, ASave_IsFlownWithinASecondOnceWithTheShipsStateKept)
{
    const Model saved = outline({{0, -12}, {9, 9}, {-9, 9}});
    save(saved);
    frame(0.4);
    ASSERT_EQ(game.player.model.lines.size(), 4u) << "not looked at again within the second";

    // The reload alone, at the top of the next frame: nothing but the outline changes.
    const Player before = game.player;
    game.frameTime += 1.0;
    reloadShipWhenSaved(game);
    ASSERT_EQ(game.player.model.lines.size(), 3u);
    EXPECT_EQ(game.player.model.lines[0].end, Vec2f(0, -12));
    EXPECT_EQ(game.player.position, before.position);
    EXPECT_EQ(game.player.velocity, before.velocity);
    EXPECT_EQ(game.player.angle, before.angle);
    EXPECT_EQ(game.player.speed, before.speed);
    EXPECT_EQ(game.player.fuel, before.fuel);
    EXPECT_EQ(game.player.battery, before.battery);

    frame(0.1);
    EXPECT_EQ(game.player.model.transformed[1].end, Vec2f(9, 9) * game.camera.zoom) << "flown from the next frame";
    game.player.model.lines[0].end = Vec2f(1, 1);
    for (int i = 0; i < 4; ++i) frame(0.5);
    EXPECT_EQ(game.player.model.lines[0].end, Vec2f(1, 1)) << "read once per save, not every second";
}

TEST_F(GameReload, AFileThatCannotBeRead_KeepsTheOldShipAndIsReportedOnce)
{
    const std::vector<ModelLine> flying = game.player.model.lines;
    ASSERT_EQ(game.shipWatch.path(), game.ownShip);
    fs::remove(game.shipWatch.path());
    fs::create_directory(game.shipWatch.path());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (int i = 0; i < 8; ++i) frame(0.5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "game: could not reload the ship " + game.ownShip + " (is a folder, not a model file); flying the old one\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(game.player.model.lines.size(), flying.size());
    EXPECT_EQ(game.player.model.lines[0].end, flying[0].end);

    fs::remove(game.shipWatch.path());
    save(outline({{0, -6}, {5, 5}, {-5, 5}}));
    for (int i = 0; i < 3; ++i) frame(0.5);
    EXPECT_EQ(game.player.model.lines.size(), 3u) << "a good save after a bad one is flown";
}

TEST_F(GameReload, TheFirstSaveOfAnOwnShip_IsFlownInPlaceOfTheShippedOne)
{
    endGame(game);
    fs::remove(game.ownShip);
    std::string error;
    ASSERT_TRUE(startGame(game, error)) << error;
    const size_t shippedLines = game.player.model.lines.size();
    ASSERT_NE(shippedLines, 3u);
    for (int i = 0; i < 3; ++i) frame(0.5);
    ASSERT_EQ(game.player.model.lines.size(), shippedLines) << "no own ship yet: the shipped one flies on";

    save(outline({{0, -6}, {5, 5}, {-5, 5}}));
    for (int i = 0; i < 3; ++i) frame(0.5);
    EXPECT_EQ(game.player.model.lines.size(), 3u);
}

TEST_F(GameReload, WhileADemoIsRecorded_ASaveIsNotFlown)
{
    PlaySession session;
    auto file = std::make_unique<DemoWriter>();
    ASSERT_TRUE(file->open((folder / "run.demo").string(), false)) << file->error();
    std::string error;
    ASSERT_TRUE(startRecording(session, game, std::move(file), error)) << error;
    save(outline({{0, -12}, {9, 9}, {-9, 9}}));
    for (int i = 0; i < 4; ++i) frame(0.5);
    EXPECT_EQ(game.player.model.lines.size(), 4u) << "the demo holds the ship it started with";
    session.recording.reset();
}

// The editor of the test below, in a process of its own: once the game opens its ship
// (told by the inotify descriptor it inherits), it saves saved.mdata over the ship.
const ChildTask kSaveOnceTheShipIsOpened("GameReloadAtStart.saveOnceTheShipIsOpened",
                                         [](const std::vector<std::string>& given) {
    const int opens = std::stoi(given.at(0));
    const fs::path folder = given.at(1);
    pollfd waiting{opens, POLLIN, 0};
    if (::poll(&waiting, 1, 10000) != 1) return false; // bounded: a start that fails early opens nothing
    std::error_code saveFailed;
    fs::rename(folder / "saved.mdata", folder / "Ship.mdata", saveFailed);
    return !saveFailed;
});

// A save made while the game is still reading its ship at start-up is flown too: the
// file is looked at before it is read. The save lands once the game has opened the
// file (told by inotify), so the game reads the old file while its name already
// holds the new one. (A FIFO would hold the read open, but the game refuses FIFOs.)
TEST(GameReloadAtStart, ASaveWhileTheShipIsRead_IsFlown)
{
    std::string pattern = (fs::temp_directory_path() / "game_reload_start_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    Game game;
    game.ownShip = (folder / "Ship.mdata").string();
    const auto write = [&](const Model& model, const fs::path& path) {
        std::string error;
        EXPECT_TRUE(writeModelFile(model, path.string(), error)) << error;
    };
    write(outline({{0, -10}, {8, 8}, {0, 4}, {-8, 8}}), game.ownShip);
    write(outline({{0, -10}, {8, 8}, {4, 6}, {-4, 6}, {-8, 8}}), folder / "saved.mdata");
    const int opens = ::inotify_init1(0); // no close-on-exec: the editor's process inherits it
    ASSERT_GE(::inotify_add_watch(opens, game.ownShip.c_str(), IN_OPEN), 0);
    const pid_t editor = kSaveOnceTheShipIsOpened.start({std::to_string(opens), folder.string()});
    headless::reset();
    headless::setTime(1000.0);
    std::string error;
    const bool started = startGame(game, error);
    EXPECT_TRUE(childSucceeded(editor)) << "the editor's save once the game opened its ship";
    ::close(opens);
    ASSERT_TRUE(started) << error;
    EXPECT_EQ(game.player.model.lines.size(), 4u) << "flies what it read";
    for (int i = 0; i < 3; ++i) {
        headless::advanceTime(0.5);
        runGameFrame(game);
    }
    EXPECT_EQ(game.player.model.lines.size(), 5u) << "and then what was saved meanwhile";
    endGame(game);
    headless::reset();
    fs::remove_all(folder);
}
