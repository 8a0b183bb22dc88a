// Screenshots: the key saves the picture on screen as a PNG that decodes, with our
// loader and with libpng, to exactly what was shown; a folder that cannot be made
// gives one message and no file; taken names get a counter.
#include "platform/headless/headless.h"
#include "render/image.h"
#include "app/play_session.h"
#include "png/png.h"
#include "support/scratch_folder.h"
#include "app/screenshot.h"

#include <gtest/gtest.h>
#include <libpng16/png.h> // by its folder: png/png.h is our own decoder

#include <filesystem>
#include <fstream>
#include <map>

namespace {

// A picture with every channel busy: no two neighbouring pixels alike.
bool drawBusyPicture()
{
    SCREEN_LOCK();
    auto* pixels = reinterpret_cast<uint32_t*>(SCREEN_POINTER());
    for (uint32_t i = 0; i < 640u * 480u; ++i) pixels[i] = 0xFF000000u | ((i * 2654435761u) >> 8);
    SCREEN_UNLOCK();
    return true;
}

// Runs one turn of a session whose frame draws the busy picture, with the screenshot
// key tapped before it; returns what the turn printed on stdout and stderr. P goes
// down and the focus goes after the frame's own event pump: the next turn must still
// see both, so taking the picture must not be a frame boundary that forgets them.
std::pair<std::string, std::string> turnWithScreenshot(const std::string& folder)
{
    const auto frameWithInputAfterItsPump = [] {
        drawBusyPicture();
        headless::setKeyAt(KEY_BY_NAME("P"), true);
        headless::setKeyAt(KEY_BY_NAME("P"), false);
        headless::loseFocus();
        return true;
    };
    PlaySession session;
    session.settings = defaultSettings();
    session.screenshotFolder = folder;
    beginSession(session);
    headless::setKeyAt(KEY_BY_NAME("F12"), true);
    SoundBank noSounds;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(stepSession(session, noSounds, frameWithInputAfterItsPump));
    std::pair<std::string, std::string> printed{testing::internal::GetCapturedStdout(),
                                                testing::internal::GetCapturedStderr()};
    EXPECT_TRUE(KEY_PRESSED(KEY_BY_NAME("P"))) << "a press lost to the screenshot";
    EXPECT_TRUE(FOCUS_LOST()) << "a focus loss lost to the screenshot";
    endSession(session);
    return printed;
}

class Screenshots : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        ASSERT_EQ(SCREEN_OPEN(640, 480, 32, 1, 0, 0), 0);
    }
    void TearDown() override { headless::reset(); }
    ScratchFolder scratch{"screenshot"};
};

} // namespace

TEST_F(Screenshots, Key_SavesTheScreenAsAPngThatBothDecodersReadBackExactly)
{
    const std::string folder = (scratch.path() / "Pictures/space-game").string();
    const auto [out, err] = turnWithScreenshot(folder);
    EXPECT_EQ(err, "");
    ASSERT_EQ(out.rfind(folder + "/space-game-", 0), 0u) << out;
    const std::string path = out.substr(0, out.size() - 1);
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(std::filesystem::directory_iterator(folder)->path(), path); // the file alone, no leftovers

    const auto* shown = reinterpret_cast<const uint32_t*>(SCREEN_POINTER());
    Image* ours = PNG_LOAD(path, 2);
    ASSERT_NE(ours, nullptr);
    png_image theirs{};
    theirs.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&theirs, path.c_str())) << theirs.message;
    theirs.format = PNG_FORMAT_BGRA; // little-endian 0xAARRGGBB words
    std::vector<uint32_t> reference(640 * 480);
    ASSERT_TRUE(png_image_finish_read(&theirs, nullptr, reference.data(), 0, nullptr)) << theirs.message;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            ASSERT_EQ(imageRow(ours, uint32_t(y))[x], shown[y * 640 + x]) << x << "," << y;
            ASSERT_EQ(reference[y * 640 + x], shown[y * 640 + x]) << x << "," << y;
        }
    }
    PNG_FREE(ours);
}

TEST_F(Screenshots, FolderThatCannotBeMade_SaysSoOnceAndLeavesNoFile)
{
    std::ofstream(scratch.path() / "Pictures") << "a file where the folder should be";
    const auto [out, err] = turnWithScreenshot((scratch.path() / "Pictures/space-game").string());
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "screenshot not saved: " + (scratch.path() / "Pictures/space-game").string() + ": Not a directory\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch.path() / "Pictures"));
}

TEST(ScreenshotNames, TakenNamesGetACounterAndTheFolderFollowsXdgThenHome)
{
    ScratchFolder scratch("screenshot_names");
    const std::string folder = scratch.path().string();
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 15;
    when.tm_min = 30;
    when.tm_sec = 12;
    const std::string first = folder + "/space-game-2026-12-07-153012.png";
    EXPECT_EQ(freeScreenshotPath(folder, when), first);
    std::ofstream(first) << "";
    EXPECT_EQ(freeScreenshotPath(folder, when), folder + "/space-game-2026-12-07-153012-2.png");
    std::ofstream(folder + "/space-game-2026-12-07-153012-2.png") << "";
    EXPECT_EQ(freeScreenshotPath(folder, when), folder + "/space-game-2026-12-07-153012-3.png");

    const auto environment = [](std::map<std::string, std::string> values) -> Environment {
        return [values](const std::string& name) { return values.contains(name) ? values.at(name) : ""; };
    };
    EXPECT_EQ(screenshotFolder(environment({{"XDG_PICTURES_DIR", "/p"}, {"HOME", "/h"}})), "/p/space-game");
    EXPECT_EQ(screenshotFolder(environment({{"XDG_PICTURES_DIR", "rel"}, {"HOME", "/h"}})), "/h/space-game");
    EXPECT_EQ(screenshotFolder(environment({})), "");
}
